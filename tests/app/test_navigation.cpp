#include "AppFixture.h"

#include "core/Messages.h"

#include <QMouseEvent>

namespace {

using Kind = messagebox::Kind;

class Navigation : public AppFixture {
  protected:
    void startWith(int pictures)
    {
        writeWeighting("999999999999999");
        for (int i = 0; i < pictures; ++i)
            writePicture("bild" + std::to_string(i) + ".jpg", 40 + i, 30);
        start();
        show().FirstPictureTimerTimer();
        show().LoadTimerTimer();
    }
    int shownWidth() { return form->Rahmen()->picture().width(); }
};

// A focused arrow button that a move or the loupe disables hands the focus
// to the window, so the next arrow key changes neither the grey level nor a
// score.
TEST_F(Navigation, DisabledArrowLeavesNoControlFocused)
{
    startWith(2);
    form->activateWindow();
    QApplication::setActiveWindow(form.get());
    const struct {
        QPushButton* button;
        void (Controller::*action)();
    } cases[] = {
        {panel().vorButton, &Controller::vor},
        {panel().zurueckButton, &Controller::zurueck},
        {panel().vorButton, &Controller::zoombuttonClick},
    };
    for (const auto& c : cases) {
        c.button->setFocus();
        ASSERT_TRUE(c.button->hasFocus());
        (controller.get()->*c.action)();
        EXPECT_EQ(QApplication::focusWidget(), form.get());
    }
}

TEST_F(Navigation, ArrowButtonsAndMouseFollowTheRules)
{
    startWith(3);
    enum Action { Vor, Zurueck, Left, Right, Middle, Loupe };
    const struct {
        Action action;
        int index;
        const char* arrows;
    } steps[] = {
        {Zurueck, 0, "->"}, {Right, 0, "->"}, {Vor, 1, "<>"},   {Middle, 1, "<>"},
        {Left, 2, "<-"},    {Left, 2, "<-"},  {Vor, 2, "<-"},   {Right, 1, "<>"},
        {Loupe, 1, "--"},   {Left, 1, "--"},  {Right, 1, "--"}, {Loupe, 1, "<>"},
        {Zurueck, 0, "->"},
    };
    for (const auto& step : steps) {
        switch (step.action) {
        case Vor:
            controller->vor();
            break;
        case Zurueck:
            controller->zurueck();
            break;
        case Left:
            controller->FormMouseDown(Qt::LeftButton, {5, 5});
            break;
        case Right:
            controller->FormMouseDown(Qt::RightButton, {5, 5});
            break;
        case Middle:
            controller->FormMouseDown(Qt::MiddleButton, {5, 5});
            break;
        case Loupe:
            controller->zoombuttonClick();
            break;
        }
        show().LoadTimerTimer();
        SCOPED_TRACE(testing::Message() << "step to " << step.index);
        EXPECT_EQ(show().index(), step.index);
        EXPECT_EQ(arrows(), step.arrows);
        EXPECT_EQ(filePanel(), "bild" + std::to_string(step.index) + ".jpg");
        EXPECT_EQ(shownWidth(), 40 + step.index) << "the picture belongs to the index";
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Navigation, PressInTheLoupeStartsAPan)
{
    startWith(3);
    controller->zoombuttonClick();
    controller->FormMouseDown(Qt::LeftButton, {12, 34});
    EXPECT_EQ(form->Rahmen()->panStart(), QPoint(12, 34));
    EXPECT_EQ(show().index(), 0);
}

// Both arrows stay disabled from start-up on, and no press moves.
TEST_F(Navigation, OnePictureNeverMoves)
{
    startWith(1);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        controller->FormMouseDown(button, {1, 1});
        EXPECT_EQ(show().index(), 0);
    }
    EXPECT_EQ(arrows(), "--");
}

TEST_F(Navigation, EveryMoveShowsThePicturesScores)
{
    startWith(3);
    panel().rows[1]->slider()->setValue(3);
    EXPECT_EQ(controller->sheet()[0], "030000000000000-bild0.jpg");
    controller->vor();
    EXPECT_EQ(positions(), "000000000000000");
    panel().rows[14]->slider()->setValue(9);
    controller->zurueck();
    EXPECT_EQ(positions(), "030000000000000");
    EXPECT_EQ(text(panel().WPkt), "3 / 45 Punkte");
    EXPECT_EQ(controller->sheet(),
              (rating::Sheet{"030000000000000-bild0.jpg", "000000000000009-bild1.jpg",
                             "000000000000000-bild2.jpg"}));
}

TEST_F(Navigation, ANonDigitInTheLineReachesTheGeneralErrorBox)
{
    startWith(2);
    writeFile("j.qel", "000000000000000-bild0.jpg\r\n12x000000000000-bild1.jpg\r\n");
    chosen = "j.qel";
    controller->bloadClick();
    panel().vorButton->click();
    EXPECT_EQ(messages,
              (std::vector<Message>{{Kind::GeneralError, "'x' ist kein gültiger Integerwert."}}));
    EXPECT_EQ(show().index(), 1) << "the move itself happened";
    EXPECT_EQ(positions(), "120000000000000");
    EXPECT_EQ(controller->sheet()[1], "12x000000000000-bild1.jpg") << "kept as stored";
    EXPECT_FALSE(controller->hasUnsavedChanges());
    panel().rows[4]->slider()->setValue(7);
    EXPECT_EQ(controller->sheet()[1], "120070000000000-bild1.jpg");
}

TEST_F(Navigation, PressesOnTheRatingPanelDoNotNavigate)
{
    startWith(3);
    int presses = 0;
    QObject::connect(form->mouse(), &MouseRouter::pressed, [&] { ++presses; });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel().rows[0], &press);
    QApplication::sendEvent(form->QelPanel_(), &press);
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(show().index(), 0);
}

} // namespace
