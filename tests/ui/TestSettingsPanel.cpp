// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/devices/ProfileFixture.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ClickLabel.h"
#include "ui/EditVideoSizeDialog.h"
#include "ui/SettingsPanel.h"

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
        Find<PictureButton>("bttnAdvancedSettings")->click();
    }

    QComboBox* Profiles() const { return Find<QComboBox>("cmbProfiles"); }
    QComboBox* VideoSize() const { return Find<QComboBox>("cmbVideoSize"); }
    QCheckBox* NoAudio() const { return Find<QCheckBox>("chkAudioNoAudio"); }

    test::ProfileFolder m_folder;
};

TEST_F(SettingsPanelTest, TabsShowTheirPageAndCheckBoxesEnableTheirControls)
{
    EXPECT_TRUE(Find("frmAudioSettings")->isVisible()); // the first page, without a click
    EXPECT_FALSE(Find("frmVideoSettings")->isVisible());
    NoAudio()->click();
    EXPECT_FALSE(Find("cmbAudioCodec")->isEnabled());
    EXPECT_EQ(Profiles()->currentText(), "Custom");
    Find<ClickLabel>("lblVideoSettings")->clicked();
    EXPECT_TRUE(Find("frmVideoSettings")->isVisible());
    EXPECT_FALSE(Find("frmAudioSettings")->isVisible());
    Find<QCheckBox>("chkVideoOriginalQuality")->click();
    EXPECT_FALSE(Find("cmbVideoBitrate")->isEnabled());
    Find<QCheckBox>("chkVideoNoVideo")->click();
    EXPECT_FALSE(VideoSize()->isEnabled());
    EXPECT_FALSE(Find("imgEditVideoSize")->isEnabled());
    // Hidden and shown again, the panel keeps its page.
    Find<ClickLabel>("bttnHideAdvancedSettings")->clicked();
    EXPECT_FALSE(Find("pnlAdvancedSettings")->isVisible());
    Find<PictureButton>("bttnAdvancedSettings")->click();
    EXPECT_TRUE(Find("frmVideoSettings")->isVisible());
}

// A typed size is refused and the entry comes back; the size dialog refuses a non-number and
// writes a new size without leaving the profile.
TEST_F(SettingsPanelTest, VideoSizeIsTakenOnlyFromTheDialog)
{
    Find<SettingsPanel>("pnlAdvancedSettings")->ShowVideoPage();
    QLineEdit* edit = VideoSize()->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "1");
    EXPECT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(VideoSize()->currentText(), "640x480");

    Profiles()->setFocus(); // the refused typing counted as a choice: back to the profile
    QTest::keyClick(Profiles(), Qt::Key_Home);
    Find<PictureButton>("imgEditVideoSize")->click();
    auto* dialog = Find<EditVideoSizeDialog>("frmEditVideoSize");
    auto* width = test::Find<QLineEdit>(dialog, "txtWidth");
    auto* ok = test::Find<QPushButton>(dialog, "cmdOk");
    EXPECT_EQ(width->selectedText(), "640");
    width->setText("abc");
    ok->click();
    EXPECT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), width);
    width->setText("400");
    test::Find<QLineEdit>(dialog, "txtHeight")->setText("300");
    ok->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(VideoSize()->currentText(), "400x300");
    EXPECT_EQ(VideoSize()->currentIndex(), -1);
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
    EXPECT_EQ(VideoSize()->currentText(), "1024x768");
    EXPECT_EQ(Find<QComboBox>("cmbAudioCodec")->count(), 0);
    // State 2 shows greyed; a click checks it.
    EXPECT_EQ(NoAudio()->checkState(), Qt::PartiallyChecked);
    NoAudio()->click();
    EXPECT_EQ(NoAudio()->checkState(), Qt::Checked);
}

} // namespace
} // namespace zantrove
