// SPDX-License-Identifier: GPL-3.0-or-later
// The help controls of the main window and the about, error and translation windows.
#include "app/HelpLinks.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "tests/support/FoldersOnlyPlatform.h"
#include "tests/support/TestHome.h"
#include "tests/ui/ListTestSupport.h"
#include "ui/AboutWindow.h"
#include "ui/ClickLabel.h"
#include "ui/ErrorWindow.h"
#include "ui/HelpActions.h"
#include "ui/MainWindow.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ReviewStep.h"
#include "ui/TranslateWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

using RecordingPlatform = test::LinkRecordingPlatform;

const QString kHelp = "https://www.quelmar.example/Content/ZVR/Help/";

class HelpWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MessageBox::SetTestMode(true);
        MessageBox::ClearShown();
        Platform::SetInstance(&m_platform);
        const std::string data = test::MakeTempFolder("data");
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        m_window = std::make_unique<MainWindow>();
        m_window->Load({});
        m_window->show();
    }
    void TearDown() override
    {
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Platform::SetInstance(nullptr);
    }

    HelpActions& Help() const { return *m_window->HelpCommands(); }
    QComboBox* Languages() const { return m_window->findChild<QComboBox*>("cmbLanguages"); }
    QPushButton* Translate() const { return m_window->findChild<QPushButton*>("cmdTranslate"); }
    TranslateWindow* Translation() const { return m_window->findChild<TranslateWindow*>("frmTranslate"); }
    AboutWindow* About() const { return m_window->findChild<AboutWindow*>("frmAbout"); }

    void GoToStep(int step)
    {
        if (m_window->VideoList().IsEmpty())
            m_window->VideoList().Append(test::ListRow("clip"));
        while (m_window->CurrentStep() > step)
            m_window->bttnPrevious_Click();
        while (m_window->CurrentStep() < step)
            m_window->bttnNext_Click();
        ASSERT_EQ(m_window->CurrentStep(), step);
    }

    static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    RecordingPlatform m_platform{Platform::Instance()};
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(HelpWindowsTest, TheLanguageListHasSixteenEntriesAndNoSelection)
{
    ASSERT_TRUE(Languages());
    ASSERT_EQ(Languages()->count(), 16);
    EXPECT_EQ(Languages()->itemText(0), "Ceština");
    EXPECT_EQ(Languages()->itemText(2), "Deutsch");
    EXPECT_EQ(Languages()->itemText(8), "Norsk (Bokmål)");
    EXPECT_EQ(Languages()->itemText(13), "Türkçe");
    EXPECT_EQ(Languages()->itemText(15), "Srpski");
    EXPECT_EQ(Languages()->currentIndex(), -1);
    EXPECT_EQ(Translate()->text(), ">");
    EXPECT_EQ(m_window->findChild<QLabel*>("lblTranslate")->text(), "Translate text to:");
}

TEST_F(HelpWindowsTest, StepThreeInGermanOpensTheGermanPageOfStepThree)
{
    GoToStep(3);
    Languages()->setCurrentIndex(2);
    Translate()->click();
    TranslateWindow* window = Translation();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    EXPECT_EQ(window->parentWidget(), m_window.get());
    EXPECT_EQ(window->windowTitle(), "Translate text");
    EXPECT_EQ(window->Address(), kHelp + "?step=3&lng=de");
    EXPECT_EQ(window->Note()->objectName(), "lblNote");
    EXPECT_EQ(window->Note()->text(),
              "In the window below, you will find a translation of the wizard text. This is meant "
              "as an extra for those people who don't understand English very well.");
    EXPECT_EQ(window->CloseButton()->text(), "&Close");
    ASSERT_TRUE(window->PageView());
    EXPECT_EQ(window->PageView()->objectName(), "brwsrTranslate");
    EXPECT_EQ(window->PageView()->inherits("QWebEngineView"), TranslateWindow::HasEmbeddedView());
    // The page is shown inside the window (or offered as a link), never handed to the shell.
    EXPECT_TRUE(m_platform.opened.empty());
    // The wizard stays usable beside it.
    m_window->bttnNext_Click();
    EXPECT_EQ(m_window->CurrentStep(), 4);
}

TEST_F(HelpWindowsTest, NoLanguageStillOpensThePageWithAnEmptyCode)
{
    Translate()->click();
    ASSERT_TRUE(Translation());
    EXPECT_EQ(Translation()->Address(), kHelp + "?step=1&lng=");
    EXPECT_TRUE(Translation()->Address().endsWith("&lng="));
}

TEST_F(HelpWindowsTest, ASecondClickOnAnotherStepReusesTheOpenWindow)
{
    GoToStep(2);
    Languages()->setCurrentIndex(12);
    Translate()->click();
    QPointer<TranslateWindow> first = Translation();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Address(), kHelp + "?step=2&lng=sv");

    // Moving on does not touch the open window; only the next ">" does.
    GoToStep(4);
    EXPECT_EQ(first->Address(), kHelp + "?step=2&lng=sv");
    Languages()->setCurrentIndex(4);
    Translate()->click();
    Flush();
    ASSERT_TRUE(first);
    EXPECT_EQ(m_window->findChildren<TranslateWindow*>().size(), 1);
    EXPECT_EQ(Translation(), first.data());
    EXPECT_EQ(Help().Translation(), first.data());
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->Address(), kHelp + "?step=4&lng=fr");
}

TEST_F(HelpWindowsTest, AfterClosingTheNextClickOpensAFreshWindow)
{
    Translate()->click();
    QPointer<TranslateWindow> first = Translation();
    ASSERT_TRUE(first);
    first->CloseButton()->click();
    Flush();
    EXPECT_FALSE(first);
    EXPECT_FALSE(Help().Translation());

    GoToStep(3);
    Languages()->setCurrentIndex(14);
    Translate()->click();
    ASSERT_TRUE(Translation());
    EXPECT_TRUE(Translation()->isVisible());
    EXPECT_EQ(Translation()->Address(), kHelp + "?step=3&lng=ru");
}

TEST_F(HelpWindowsTest, WithoutTheEmbeddedViewTheLinkGoesToTheBrowser)
{
    if (TranslateWindow::HasEmbeddedView())
        GTEST_SKIP() << "this build shows pages inside the window";
    GoToStep(3);
    Languages()->setCurrentIndex(2);
    Translate()->click();
    auto* link = qobject_cast<QLabel*>(Translation()->PageView());
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->openExternalLinks());
    EXPECT_TRUE(link->text().contains(kHelp + "?step=3&amp;lng=de"));
    // The address is the label's second line, centred.
    const QPoint onAddress(link->width() / 2, link->height() / 2 + link->fontMetrics().height() / 2);
    QTest::mouseClick(link, Qt::LeftButton, {}, onAddress);
    ASSERT_EQ(m_platform.opened.size(), 1u);
    EXPECT_EQ(m_platform.opened[0], "https://www.quelmar.example/Content/ZVR/Help/?step=3&lng=de");
}

TEST_F(HelpWindowsTest, TheHelpPictureShowsTheProfileHelpInEightLines)
{
    GoToStep(3);
    m_window->Step3()->HelpButton()->click();
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    const UserMessage& shown = MessageBox::Shown()[0];
    EXPECT_EQ(shown.icon, MessageIcon::Information);
    EXPECT_EQ(shown.title, "Zantrove");
    const QStringList lines = QString::fromStdString(shown.text).split("\r\n");
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "In the box left to this button you can select an output profile.");
    EXPECT_TRUE(lines[2].isEmpty());
    EXPECT_TRUE(lines[5].isEmpty());
    EXPECT_EQ(lines.count(QString()), 2);
    EXPECT_TRUE(lines[7].startsWith("E.g.: high quality movies"));
}

TEST_F(HelpWindowsTest, TheTipLinkLiesOverItsWordAndOpensTheCodecTip)
{
    GoToStep(4);
    QLabel* tip = m_window->Step4()->Tip();
    ClickLabel* link = m_window->Step4()->TipLink();
    ASSERT_TRUE(tip && link);
    EXPECT_EQ(tip->objectName(), "lblTip");
    EXPECT_EQ(link->objectName(), "lblTipLink");
    EXPECT_EQ(QTextDocumentFragment::fromHtml(tip->text()).toPlainText(),
              "Tip: click here if you have trouble playing video files on your computer.");
    EXPECT_EQ(link->text(), "here");
    EXPECT_TRUE(link->isVisible());
    EXPECT_EQ(link->parentWidget(), tip);
    const QFontMetrics metrics(tip->font());
    EXPECT_EQ(link->x(), tip->contentsRect().left() + metrics.horizontalAdvance("Tip: click "));
    EXPECT_TRUE(tip->rect().contains(link->geometry()));
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0x25, 0x63, 0xEB));

    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(m_platform.opened.size(), 1u);
    EXPECT_EQ(m_platform.opened[0], "https://www.quelmar.example/Content/ZVR/Help/?item=missingcodecs");
    EXPECT_TRUE(MessageBox::Shown().empty()); // the failed open stays silent
}

TEST_F(HelpWindowsTest, TheAboutLabelOpensTheModalAboutWindow)
{
    GoToStep(2);
    auto* about = m_window->findChild<QLabel*>("lblAbout");
    ASSERT_TRUE(about);
    emit about->linkActivated("about");
    AboutWindow* window = About();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window->parentWidget(), m_window.get());
    EXPECT_EQ(window->windowTitle(), "About Zantrove");
    const auto text = [window](const char* name) { return window->findChild<QLabel*>(name)->text(); };
    EXPECT_EQ(text("lblWizardText"), "About Zantrove");
    EXPECT_EQ(text("lblWizardSubText"), "View program and version information...");
    EXPECT_TRUE(window->findChild<QWidget*>("picWizard"));
    EXPECT_TRUE(window->findChild<QWidget*>("lblWizardBackground"));
    EXPECT_EQ(text("lblProgramText"), "Zantrove v1.1");
    EXPECT_FALSE(text("lblCopyright").isEmpty());
    EXPECT_FALSE(text("lblCopyright").contains('\n'));
    EXPECT_EQ(window->findChild<QGroupBox*>("frmContactInfo")->title(), "Contact Information");
    EXPECT_EQ(text("lblEMailAddress"), "E-Mail Address:");
    EXPECT_EQ(text("lblEMailAddressValue"), "support@quelmar.example");
    EXPECT_EQ(text("lblWebsiteAddress"), "Website Address:");
    EXPECT_EQ(text("lblWebsiteAddressValue"), "https://www.quelmar.example");
    EXPECT_EQ(window->EMailAddressValue()->palette().color(QPalette::WindowText), QColor(0x25, 0x63, 0xEB));
    EXPECT_EQ(window->WebsiteAddressValue()->palette().color(QPalette::WindowText), QColor(0x25, 0x63, 0xEB));
    EXPECT_EQ(window->CreditsButton()->text(), "&Credits");
    EXPECT_EQ(window->CloseButton()->text(), "&Close");

    QPointer<AboutWindow> guard = window;
    window->CloseButton()->click();
    Flush();
    EXPECT_FALSE(guard);
    EXPECT_EQ(m_window->CurrentStep(), 2);
    EXPECT_TRUE(m_window->findChild<QWidget*>("pnlWizard_Step2")->isVisible());
}

TEST_F(HelpWindowsTest, ADoubleClickOnTheVersionPanelOpensTheAboutWindow)
{
    QLabel* version = nullptr;
    for (QLabel* label : m_window->findChildren<QLabel*>())
        if (label->text() == "Version: 1.1")
            version = label;
    ASSERT_TRUE(version);
    QTest::mouseDClick(version, Qt::LeftButton);
    ASSERT_TRUE(About());
    EXPECT_TRUE(About()->isVisible());
}

TEST_F(HelpWindowsTest, TheAboutLinksReachTheShellAndCreditsShowTheirMessage)
{
    m_window->HelpCommands()->lblAbout_Click();
    AboutWindow* window = About();
    ASSERT_TRUE(window);
    QTest::mouseClick(window->EMailAddressValue(), Qt::LeftButton);
    QTest::mouseClick(window->WebsiteAddressValue(), Qt::LeftButton);
    ASSERT_EQ(m_platform.opened.size(), 2u);
    EXPECT_EQ(m_platform.opened[0], "mailto:" + std::string(kSupportAddress) + "?Subject=Zantrove");
    EXPECT_EQ(m_platform.opened[0], "mailto:support@quelmar.example?Subject=Zantrove");
    EXPECT_EQ(m_platform.opened[1], "https://www.quelmar.example");
    EXPECT_TRUE(MessageBox::Shown().empty());

    window->CreditsButton()->click();
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown()[0].icon, MessageIcon::Information);
    EXPECT_EQ(MessageBox::Shown()[0].title, "Zantrove");
    EXPECT_EQ(MessageBox::Shown()[0].text,
              "Zantrove is based on libraries of ffmpeg.\r\n\r\nYou can find more "
              "information about ffmpeg on the following website:\r\n"
              "https://ffmpeg.org");
    EXPECT_TRUE(window->isVisible()); // credits leave the about window open
}

TEST(ErrorWindowTest, ShowsAManyLineTextThatScrolls)
{
    ErrorWindow window;
    std::string errors;
    for (int i = 1; i <= 200; ++i)
        errors += "-/videos/clip" + std::to_string(i) + ".avi: Invalid data found when processing input\r\n";
    window.SetErrors(errors);
    window.show();
    QCoreApplication::processEvents();

    EXPECT_EQ(window.objectName(), "frmError");
    EXPECT_EQ(window.windowTitle(), "Error Log");
    EXPECT_EQ(window.findChild<QLabel*>("lblWizardText")->text(), "Error Log");
    EXPECT_EQ(window.findChild<QLabel*>("lblWizardSubText")->text(), "The following errors occurred...");
    QPlainTextEdit* text = window.Errors();
    EXPECT_EQ(text->objectName(), "txtErrors");
    EXPECT_TRUE(text->isReadOnly());
    // 200 lines and the empty one after the last line end.
    EXPECT_EQ(text->document()->blockCount(), 201);
    EXPECT_EQ(text->document()->findBlockByNumber(0).text(),
              "-/videos/clip1.avi: Invalid data found when processing input");
    EXPECT_EQ(text->document()->findBlockByNumber(199).text(),
              "-/videos/clip200.avi: Invalid data found when processing input");
    EXPECT_FALSE(text->toPlainText().contains('\r'));

    QScrollBar* bar = text->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GT(bar->maximum(), 100);
    bar->setValue(bar->maximum());
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(window.CloseButton()->text(), "&Close");
    window.CloseButton()->click();
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace zantrove
