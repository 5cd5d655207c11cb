#include "AppFixture.h"

#include "Viewer/PictureFrame.h"

namespace {

class Commands : public AppFixture {};

TEST_F(Commands, BackgroundGreyStepsAndTheFrameFollows)
{
    writeWeighting("555555555555555");
    writePicture("a.jpg");
    start();
    EXPECT_EQ(form->backgroundColour(), QColor(0, 0, 0)) << "start-up makes it black";
    UpDown& upDown = *panel().Hintergrund;
    const struct {
        int step;
        int grey;
    } steps[] = {{+1, 16}, {+1, 32}, {-1, 16}, {-1, 0}, {-1, 0}};
    for (const auto& s : steps) {
        upDown.step(s.step);
        EXPECT_EQ(form->backgroundColour(), QColor(s.grey, s.grey, s.grey));
        EXPECT_EQ(form->Rahmen()->frameColour(), form->backgroundColour());
    }
    for (int i = 0; i < 15; ++i)
        upDown.step(+1);
    EXPECT_EQ(form->backgroundColour(), QColor(240, 240, 240));
    upDown.step(+1);
    EXPECT_EQ(form->backgroundColour(), QColor(255, 255, 255));
    upDown.step(+1);
    EXPECT_EQ(form->backgroundColour(), QColor(255, 255, 255));
    upDown.step(-1);
    EXPECT_EQ(form->backgroundColour(), QColor(240, 240, 240));
    EXPECT_EQ(form->Rahmen()->frameColour(), QColor(240, 240, 240));
}

TEST_F(Commands, LoupeKeepsTheFrameAndRestoresTheArrows)
{
    writeWeighting("555555555555555");
    writePicture("a.jpg", 4000, 3000);
    writePicture("b.jpg", 800, 600);
    start();
    show().FirstPictureTimerTimer();
    const QRect frame = form->Rahmen()->geometry();
    EXPECT_EQ(frame, QRect(108, 20, 1386, 1040));
    controller->zoombuttonClick();
    EXPECT_TRUE(panel().zoombutton->isChecked());
    EXPECT_EQ(arrows(), "--");
    EXPECT_EQ(form->Rahmen()->bild()->size(), QSize(4000, 3000));
    EXPECT_EQ(form->Rahmen()->bild()->cursor().shape(), Qt::SizeAllCursor);
    controller->zoombuttonClick();
    EXPECT_FALSE(panel().zoombutton->isChecked());
    EXPECT_EQ(arrows(), "->");
    EXPECT_EQ(form->Rahmen()->geometry(), frame);
    EXPECT_EQ(form->Rahmen()->bild()->geometry(), QRect(2, 2, 1382, 1036));
    show().LoadTimerTimer();
    controller->vor();
    EXPECT_EQ(form->Rahmen()->geometry(), QRect(401, 240, 800, 600));
    EXPECT_EQ(form->Rahmen()->bild()->size(), QSize(796, 596));
}

} // namespace
