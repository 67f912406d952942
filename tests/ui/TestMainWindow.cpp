// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard, its help controls, the settings panel and the trim dialog, driven as a user would.
#include "app/HelpLinks.h"
#include "conversion/ConversionStart.h"
#include "tests/devices/ProfileFixture.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/AboutWindow.h"
#include "ui/ClickLabel.h"
#include "ui/EditVideoSizeDialog.h"
#include "ui/TranslateWindow.h"
#include "ui/TrimVideoDialog.h"

#include <QIcon>

namespace zantrove {
namespace {
using WizardTest = test::MainWindowTest;

TEST_F(WizardTest, StartsOnStepOneWhereTilesPickTheDeviceAndGoesOnOnlyWithFilesAndAFolder)
{
    const auto visibleStep = [this] {
        int visible = 0;
        for (int step = 1; step <= 4; ++step)
            if (m_window->findChild<QWidget*>(QStringLiteral("pnlWizard_Step%1").arg(step))->isVisible())
                visible = visible == 0 ? step : -1;
        return visible;
    };
    EXPECT_EQ(visibleStep(), 1);
    // The step's title stands above its scrolling page.
    const auto* title = Find<QLabel>("pnlWizard_Step1_TitleBar_Label");
    EXPECT_TRUE(title->isVisible());
    EXPECT_LE(title->mapTo(m_window.get(), QPoint(0, title->height())).y(),
              Find("pnlWizard_Step1_Scroll")->mapTo(m_window.get(), QPoint()).y());
    auto* folder = Find<QLineEdit>("txtOutputDirectory");
    EXPECT_EQ(folder->text().toStdString(), std::string(std::getenv("HOME")) + "/Converted Video Files");
    QStringList headers; // the trim times and the path are not shown
    for (int column = 0; column < 7; ++column)
        if (!List()->isColumnHidden(column))
            headers << List()->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Filename", "Codec", "Duration", "Video Size"}));
    // Each tile picks its own device, and only its marker shows.
    const char* devices[] = {"IPodClassic", "IPodTouch", "IPodNano", "IPhone", "IPad"};
    const char* identifiers[] = {"iPod-Classic", "iPod-Touch", "iPod-Nano", "iPhone", "iPad"};
    for (int device = 0; device < 5; ++device) {
        Find<QPushButton>(("lblClickArea" + std::string(devices[device])).c_str())->click();
        EXPECT_EQ(m_window->SelectedDevice(), identifiers[device]);
        for (int other = 0; other < 5; ++other)
            EXPECT_EQ(Find(("img" + std::string(devices[other]) + "Selected").c_str())->isVisible(),
                      other == device);
    }
    m_window->bttnPrevious_Click();
    EXPECT_EQ(MessageBox::Shown().size(), 1u);
    m_window->bttnNext_Click();
    m_window->bttnNext_Click();
    EXPECT_EQ(visibleStep(), 2);
    AddRow("clip");
    m_window->bttnNext_Click();
    EXPECT_EQ(visibleStep(), 3);
    FileDialogs::SetNextFolder(std::string("/media/usb/Videos"));
    m_window->bttnChooseOutputDirectory_Click();
    EXPECT_EQ(folder->text(), "/media/usb/Videos");
    folder->clear();
    m_window->bttnChooseOutputDirectory_Click(); // cancelled: the text stays
    m_window->bttnNext_Click();
    EXPECT_EQ(visibleStep(), 3);
    EXPECT_EQ(MessageBox::Shown().size(), 3u);
    folder->setText("   "); // blanks pass; neither checked nor created
    m_window->bttnNext_Click();
    EXPECT_EQ(visibleStep(), 4);
    const QWidget* convert = Find("bttnConvert");
    EXPECT_FALSE(Find("bttnNext")->isVisible());
    EXPECT_TRUE(convert->isVisible());
    m_window->bttnPrevious_Click();
    EXPECT_EQ(visibleStep(), 3);
    EXPECT_FALSE(convert->isVisible());
}

// Convert's checks run once its press has returned, the encoder check beside the window: a second
// press meanwhile starts nothing more, and a close meanwhile starts nothing at all. They are the
// command line's: without the profile folder the start is refused and nothing is written.
TEST_F(WizardTest, ConvertIsCheckedOnceForTwoPressesAndNotForAClosedWindow)
{
    for (const bool closed : {false, true}) {
        SCOPED_TRACE(testing::Message() << "closed " << closed);
        const std::string app = test::MakeTempFolder("app");
        Open(app);
        GoToStep(4);
        auto* convert = Find<PictureButton>("bttnConvert");
        if (closed)
            QTimer::singleShot(0, m_window.get(), [this] { m_window->close(); });
        convert->click();
        convert->click();
        EXPECT_TRUE(MessageBox::Shown().empty()) << "the checks ran inside the press";
        ASSERT_TRUE(QTest::qWaitFor([convert] { return !convert->isHidden(); }, 30000));
        ASSERT_EQ(MessageBox::Shown().size(), closed ? 0u : 1u);
        if (closed)
            continue;
        EXPECT_EQ(MessageBox::Shown()[0].icon, MessageIcon::Critical);
        EXPECT_EQ(MessageBox::Shown()[0].text,
                  std::string(kMissingProfilesMessage) + app + "/Profiles\r\nPlease, reinstall Zantrove.");
        EXPECT_FALSE(FolderExists(Find<QLineEdit>("txtOutputDirectory")->text().toStdString()));
    }
}

TEST_F(WizardTest, ReviewIsRefilledAndShortensTheFolderAtFiftyCharacters)
{
    Open(ZANTROVE_APP_DIR); // a device's rates, for the size estimate
    AddRow("a");
    AddRow("b");
    const QString fifty = "/" + QString(49, 'f');
    GoToStep(3);
    auto* folder = Find<QLineEdit>("txtOutputDirectory");
    const auto* output = Find<QLabel>("lblOutput");
    const auto* summary = Find<QLabel>("lblReviewSummary");
    folder->setText(fifty);
    m_window->bttnNext_Click();
    EXPECT_EQ(output->text(), fifty);
    EXPECT_EQ(summary->text(), "2 video files will be converted and saved to:\n" + fifty);
    // The estimate's wording is the batch size text's, tested with it.
    EXPECT_TRUE(Find<QLabel>("lblEstimatedSize")->text().startsWith("about "));

    m_window->bttnPrevious_Click();
    const QString fiftyOne = fifty + "g";
    folder->setText(fiftyOne);
    m_window->VideoList().SetTrimTimes(1, "00:00:01", "00:00:02");
    m_window->bttnNext_Click();
    EXPECT_EQ(output->text(), fifty + "...");
    EXPECT_EQ(summary->text(),
              "2 video files will be converted (1 of them trimmed) and saved to:\n" + fiftyOne);
}

TEST_F(WizardTest, ClosingSavesTheSettings)
{
    Find<QLineEdit>("txtOutputDirectory")->setText("");
    m_window->SetNumberOfConvertedFiles(7);
    m_window->close();
    MainWindow second;
    ASSERT_TRUE(second.Load({}));
    EXPECT_EQ(test::Find<QLineEdit>(&second, "txtOutputDirectory")->text(), "");
    EXPECT_EQ(second.NumberOfConvertedFiles(), 7);
}

const QString kHelp = "https://www.quelmar.example/Content/ZVR/Help/";

// The tip link and the translation page go to the platform's opener; a failed open is said.
TEST_F(WizardTest, LinksOpenThroughThePlatform)
{
    GoToStep(4);
    QTest::mouseClick(Find("lblTipLink"), Qt::LeftButton);
    std::vector<std::string> expected = {(kHelp + "?item=missingcodecs").toStdString()};
    m_window->findChild<QComboBox*>("cmbLanguages")->setCurrentIndex(2);
    m_window->findChild<QPushButton*>("cmdTranslate")->click();
    EXPECT_EQ(Find<TranslateWindow>("frmTranslate")->Address(), kHelp + "?step=4&lng=de");
    // The About window's addresses are shown and open the mail program and the site.
    AboutWindow about(m_window.get());
    for (const char* name : {"lblEMailAddressValue", "lblWebsiteAddressValue"}) {
        EXPECT_TRUE(test::Find(&about, name)->isVisibleTo(&about)) << name;
        QTest::mouseClick(test::Find(&about, name), Qt::LeftButton);
    }
    expected.insert(expected.end(), {SupportMailLink(), std::string(kMakerSite)});
    about.show();
    test::Find<QPushButton>(&about, "cmdClose")->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(m_platform.opened, expected);
    ASSERT_EQ(MessageBox::Shown().size(), expected.size());
    EXPECT_EQ(MessageBox::Shown()[0].text,
              "Zantrove could not open " + expected[0] + "\r\nNo program to open it with could be started.");
}

using SettingsPanelTest = test::MainWindowTest;

// The settings panel's wiring to the settings model; the rules behind it are tested with the model.
// Tabs show their page and check boxes enable their controls. A typed size is refused and the entry
// comes back; the size dialog keeps a refused entry open and writes a confirmed one into the box,
// which then shows no list entry. Another device's file refills the panel.
TEST_F(SettingsPanelTest, PagesCheckBoxesAndVideoSizeFromTheDialogAndADeviceSwitchRefillsThePanel)
{
    const test::ProfileFolder profiles;
    profiles.Write("iPod-Classic", test::kSampleProfile);
    Open(profiles.Folder());
    m_window->ShowWizardStep(3);
    Find<PictureButton>("bttnAdvancedSettings")->click();
    const auto videoSize = [this] { return Find<QComboBox>("cmbVideoSize"); };
    EXPECT_TRUE(Find("frmAudioSettings")->isVisible()); // the first page, without a click
    EXPECT_FALSE(Find("frmVideoSettings")->isVisible());
    Find<QCheckBox>("chkAudioNoAudio")->click();
    EXPECT_FALSE(Find("cmbAudioCodec")->isEnabled());
    Find<ClickLabel>("lblVideoSettings")->clicked();
    EXPECT_TRUE(Find("frmVideoSettings")->isVisible());
    EXPECT_FALSE(Find("frmAudioSettings")->isVisible());
    QLineEdit* edit = videoSize()->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "1");
    EXPECT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(videoSize()->currentText(), "640x480");

    Find<PictureButton>("imgEditVideoSize")->click();
    auto* dialog = Find<EditVideoSizeDialog>("frmEditVideoSize");
    auto* width = test::Find<QLineEdit>(dialog, "txtWidth");
    auto* ok = test::Find<QPushButton>(dialog, "cmdOk");
    EXPECT_EQ(width->selectedText(), "640");
    width->setText("abc");
    ok->click();
    EXPECT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_TRUE(dialog->isVisible());
    width->setText("400");
    test::Find<QLineEdit>(dialog, "txtHeight")->setText("300");
    ok->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(videoSize()->currentText(), "400x300");
    EXPECT_EQ(videoSize()->currentIndex(), -1);

    profiles.Write("iPad", "[General]\nNumberOfProfiles=1\n[Defaults]\nVideoSize=1024x768\n"
                           "[Profile1]\nName=Tablet\nVideoSize=0\nAudioNoAudio=2\n");
    m_window->SwitchDevice("iPad");
    EXPECT_EQ(Find<QComboBox>("cmbProfiles")->itemText(0), "Tablet");
    EXPECT_EQ(videoSize()->currentText(), "1024x768");
    EXPECT_EQ(Find<QComboBox>("cmbAudioCodec")->count(), 0);
    // State 2 shows greyed; a click checks it.
    auto* noAudio = Find<QCheckBox>("chkAudioNoAudio");
    EXPECT_EQ(noAudio->checkState(), Qt::PartiallyChecked);
    noAudio->click();
    EXPECT_EQ(noAudio->checkState(), Qt::Checked);
    Find<QCheckBox>("chkVideoNoVideo")->click();
    EXPECT_FALSE(videoSize()->isEnabled());
    EXPECT_FALSE(Find("imgEditVideoSize")->isEnabled());
}

// Reads the trim dialog's six boxes, then types the texts into them.
QStringList Boxes(TrimVideoDialog* dialog, const QStringList& texts)
{
    QStringList shown;
    int i = 0;
    for (const char* time : {"txtStartTime", "txtEndTime"})
        for (const char* unit : {"Hours", "Minutes", "Seconds"}) {
            auto* box = test::Find<QLineEdit>(dialog, (std::string(time) + unit).c_str());
            shown.append(box->text());
            box->setText(texts[i++]);
        }
    return shown;
}

// The trim dialog's wiring; which times it takes is the trim model's and tested with it.
TEST_F(WizardTest, TrimNeedsOneRowKeepsARefusedEntryAndDoNotTrimClearsTheTrim)
{
    m_window->ShowWizardStep(2);
    for (const std::string name : {"first", "second"})
        AddRow(name, "00:01:30", "/videos/" + name + ".mp4");
    auto* trim = Find<PictureButton>("bttnTrimVideoFile");
    trim->click(); // no row
    EXPECT_EQ(m_window->findChild<TrimVideoDialog*>("frmTrimVideo"), nullptr);
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    const auto openFor = [&](std::int16_t row) {
        Flush();
        m_window->VideoList().SelectOnly({row});
        m_window->VideoList().SetCurrentRow(row);
        trim->click();
        return m_window->findChild<TrimVideoDialog*>("frmTrimVideo");
    };
    const auto marked = [this](int row) { return !Cell(row, 0, Qt::DecorationRole).value<QIcon>().isNull(); };

    TrimVideoDialog* dialog = openFor(2);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Boxes(dialog, {"00", "00", "10", "00", "02", "00"}),
              (QStringList{"00", "00", "00", "00", "01", "30"}));
    test::Find<QPushButton>(dialog, "cmdSet")->click(); // beyond the end: refused, the entries stay
    EXPECT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Boxes(dialog, {"00", "00", "5", "00", "00", "20"}),
              (QStringList{"00", "00", "10", "00", "02", "00"}));
    test::Find<QPushButton>(dialog, "cmdSet")->click();
    EXPECT_EQ(Cell(1, 0, Qt::ToolTipRole).toString(), "/videos/second.mp4\nTrimmed to: 00:00:05 - 00:00:20");
    EXPECT_TRUE(marked(1));
    EXPECT_FALSE(marked(0));

    dialog = openFor(2);
    ASSERT_TRUE(dialog);
    test::Find<QPushButton>(dialog, "cmdDoNotTrim")->click();
    EXPECT_FALSE(marked(1));
    EXPECT_EQ(Cell(1, 0, Qt::ToolTipRole).toString(), "/videos/second.mp4");

    dialog = openFor(1);
    ASSERT_TRUE(dialog);
    test::Find<QPushButton>(dialog, "cmdClose")->click();
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace
} // namespace zantrove
