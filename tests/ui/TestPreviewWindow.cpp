// SPDX-License-Identifier: GPL-3.0-or-later
// The preview window opened from the video list, rendering with the real encoder on a generated clip.
#include "tests/media/MediaClips.h"
#include "tests/support/ToolProcess.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/PreviewVideoDialog.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>

namespace zantrove {
namespace {

using PreviewWindowTest = test::MainWindowTest;

PreviewVideoDialog* Shown()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<PreviewVideoDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// Until the dialog has shown its count of pictures; the bound only keeps a broken run finite.
bool WaitForPictures(PreviewVideoDialog* dialog, int count)
{
    QSignalSpy shown(dialog, &PreviewVideoDialog::PictureShown);
    while (dialog->PicturesShown() < count)
        if (!shown.wait(120000))
            return false;
    return true;
}

// Opened by the button, pictures arrive and follow the slider; opened from the menu and closed while
// the encoder still runs, the window goes at once with its encoders.
TEST_F(PreviewWindowTest, PicturesFollowTheSliderAndAWindowClosedWhileRenderingGoesAtOnce)
{
    Open(ZANTROVE_APP_DIR); // the device profiles and the encoder
    const std::string clip = test::MakeClip(test::MakeTempFolder("clips"), "moving", 4);
    ASSERT_FALSE(clip.empty());
    AddRow("moving", "00:00:04", clip);
    m_window->ShowWizardStep(2);
    List()->setCurrentIndex(List()->model()->index(0, 0));
    Find<PictureButton>("bttnPreviewVideoFile")->click();
    PreviewVideoDialog* dialog = Shown();
    ASSERT_NE(dialog, nullptr);
    const auto* output = test::Find<QLabel>(dialog, "picOutputFrame");
    const auto* outputInfo = test::Find<QLabel>(dialog, "lblOutputInfo");
    ASSERT_TRUE(WaitForPictures(dialog, 1)) << outputInfo->text().toStdString();
    EXPECT_FALSE(test::Find<QLabel>(dialog, "picSourceFrame")->pixmap().isNull());
    EXPECT_FALSE(output->pixmap().isNull());
    const QString info = outputInfo->text();
    EXPECT_TRUE(info.contains(
        QRegularExpression("^Output frame: \\d+x\\d+ pixels at 25 fps\\. Estimated size: about ")))
        << info.toStdString();
    const QImage first = output->pixmap().toImage();
    test::Find<QSlider>(dialog, "sldMoment")->setValue(3);
    ASSERT_TRUE(WaitForPictures(dialog, 2));
    EXPECT_NE(output->pixmap().toImage(), first) << "the same moment shown again";
    dialog->close();

    MenuAction("mnuEdit_PreviewVideoFile")->trigger();
    dialog = Shown();
    ASSERT_NE(dialog, nullptr);
    dialog->close();
    Flush();
    EXPECT_EQ(Shown(), nullptr);
    // Its encoders are not parented to it: the window must end them itself.
    EXPECT_EQ(test::LiveChildren(), 0);
}

} // namespace
} // namespace zantrove
