// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/devices/ProfileFixture.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ClickLabel.h"
#include "ui/EditVideoSizeDialog.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/SettingsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zantrove {
namespace {

class SettingsPanelTest : public test::MainWindowTest
{
protected:
    void SetUp() override
    {
        Platform::SetInstance(&m_platform);
        m_folder.Write("iPod-Classic", test::kSampleProfile);
        Open(m_folder.Folder());
        m_window->ShowWizardStep(3);
        m_window->Step3()->AdvancedButton()->click();
    }

    SettingsPanel* Panel() const { return m_window->Step3()->AdvancedPanel(); }
    QComboBox* Profiles() const { return m_window->Step3()->Profiles(); }

    test::ProfileFolder m_folder;
};

TEST_F(SettingsPanelTest, TabsShowTheirPageAndCheckBoxesEnableTheirControls)
{
    Panel()->NoAudio()->click();
    EXPECT_FALSE(Panel()->AudioCodec()->isEnabled());
    EXPECT_EQ(Profiles()->currentText(), "Custom");
    Panel()->VideoTab()->clicked();
    EXPECT_TRUE(Panel()->VideoPage()->isVisible());
    EXPECT_FALSE(Panel()->AudioPage()->isVisible());
    Panel()->OriginalQuality()->click();
    EXPECT_FALSE(Panel()->VideoBitrate()->isEnabled());
    Panel()->NoVideo()->click();
    EXPECT_FALSE(Panel()->VideoSize()->isEnabled());
    EXPECT_FALSE(Panel()->EditVideoSize()->isEnabled());
    // Hidden and shown again, the panel keeps its page.
    Panel()->HideButton()->clicked();
    EXPECT_FALSE(Panel()->isVisible());
    m_window->Step3()->AdvancedButton()->click();
    EXPECT_TRUE(Panel()->VideoPage()->isVisible());
}

// A typed size is refused and the entry comes back; the size dialog refuses a non-number and
// writes a new size without leaving the profile.
TEST_F(SettingsPanelTest, VideoSizeIsTakenOnlyFromTheDialog)
{
    Panel()->ShowVideoPage();
    QLineEdit* edit = Panel()->VideoSize()->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "1");
    EXPECT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(Panel()->VideoSize()->currentText(), "640x480");

    Profiles()->setFocus(); // the refused typing counted as a choice: back to the profile
    QTest::keyClick(Profiles(), Qt::Key_Home);
    Panel()->EditVideoSize()->click();
    auto* dialog = m_window->findChild<EditVideoSizeDialog*>("frmEditVideoSize");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->WidthBox()->selectedText(), "640");
    dialog->WidthBox()->setText("abc");
    dialog->OkButton()->click();
    EXPECT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), dialog->WidthBox());
    dialog->WidthBox()->setText("400");
    dialog->HeightBox()->setText("300");
    dialog->OkButton()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Panel()->VideoSize()->currentText(), "400x300");
    EXPECT_EQ(Panel()->VideoSize()->currentIndex(), -1);
    EXPECT_EQ(Profiles()->currentText(), "Movie");
    EXPECT_FALSE(m_window->AllowVideoSizeChange());
}

TEST_F(SettingsPanelTest, SwitchingDeviceRefillsFromItsFile)
{
    m_folder.Write("iPad", "[General]\nNumberOfProfiles=1\n[Defaults]\nVideoSize=1024x768\n"
                           "[Profile1]\nName=Tablet\nVideoSize=0\nAudioNoAudio=2\n");
    m_window->SwitchDevice("iPad");
    EXPECT_EQ(Profiles()->count(), 2);
    EXPECT_EQ(Profiles()->itemText(0), "Tablet");
    EXPECT_EQ(Panel()->VideoSize()->currentText(), "1024x768");
    EXPECT_EQ(Panel()->AudioCodec()->count(), 0);
    // State 2 shows greyed; a click checks it.
    EXPECT_EQ(Panel()->NoAudio()->checkState(), Qt::PartiallyChecked);
    Panel()->NoAudio()->click();
    EXPECT_EQ(Panel()->NoAudio()->checkState(), Qt::Checked);
}

} // namespace
} // namespace zantrove
