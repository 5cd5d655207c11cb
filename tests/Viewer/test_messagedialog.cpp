#include "Viewer/MessageDialog.h"

#include "QtApplication.h"

#include <QAccessible>
#include <QClipboard>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Centred on the screen, text no wider than half of it, and a name longer
// than a line is broken, not cut: every character is drawn and readable.
TEST(MessageDialog, CentredWrappedAtHalfTheScreenNothingCut)
{
    ensureQtApplication();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QString name = QStringLiteral("Abendstimmung_") + QString(200, QLatin1Char('x')) + ".jpg";
    for (const QString& text : {QStringLiteral("Kurz."), "Das Bild '" + name + "' fehlt!"}) {
        MessageDialog box(QStyle::SP_MessageBoxWarning, QStringLiteral("Warnung"), text,
                          QDialogButtonBox::Ok, QDialogButtonBox::Ok, nullptr);
        QRect shown;
        QTimer::singleShot(0, &box, [&] {
            shown = box.frameGeometry();
            box.accept();
        });
        EXPECT_EQ(box.run(), QDialogButtonBox::Ok);
        const auto* label = box.findChild<BreakingLabel*>();
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), text);
        EXPECT_LE(label->width(), screen.width() / 2);
        const QFontMetrics metrics(label->font());
        const int lines = label->height() / metrics.lineSpacing();
        EXPECT_GE(lines * label->width(), metrics.horizontalAdvance(text)) << "all of it drawn";
        EXPECT_EQ(shown.x(), (screen.width() - shown.width()) / 2);
        EXPECT_EQ(shown.y(), (screen.height() - shown.height()) / 2);
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Warnung"));
    }
}

// Keys answer as in Qt's own boxes: the underlined letter without Alt,
// Enter the default ("Nein"), Esc "Nein"; Ctrl+C copies and answers nothing.
TEST(MessageDialog, KeysAnswerAndCopyAndTheBoxIsAnAlert)
{
    ensureQtApplication();
    using Button = QDialogButtonBox::StandardButton;
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Button answer;
    } cases[] = {
        {Qt::Key_J, Qt::NoModifier, Button::Yes},
        {Qt::Key_N, Qt::NoModifier, Button::No},
        {Qt::Key_J, Qt::ShiftModifier, Button::Yes},
        {Qt::Key_Return, Qt::NoModifier, Button::No},
        {Qt::Key_Escape, Qt::NoModifier, Button::No},
        {Qt::Key_C, Qt::ControlModifier, Button::NoButton}, // still open afterwards
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        MessageDialog box(QStyle::SP_MessageBoxQuestion, QStringLiteral("Bildbewertung"),
                          QStringLiteral("Überschreiben?"), Button::Yes | Button::No, Button::No,
                          nullptr);
        QGuiApplication::clipboard()->clear();
        bool stillOpen = false;
        QTimer::singleShot(0, &box, [&] {
            QWidget* focus = QApplication::focusWidget();
            QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers);
            QApplication::sendEvent(focus ? focus : &box, &press);
            QTimer::singleShot(300, &box, [&] {
                stillOpen = box.isVisible();
                box.done(0);
            });
        });
        const Button answer = box.run();
        if (c.answer == Button::NoButton) {
            EXPECT_TRUE(stillOpen);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), box.copyText());
            EXPECT_EQ(box.copyText(), "---------------------------\nBildbewertung\n"
                                      "---------------------------\nÜberschreiben?\n"
                                      "---------------------------\nJa   Nein\n"
                                      "---------------------------\n");
        } else {
            EXPECT_EQ(answer, c.answer);
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), QAccessible::AlertMessage);
        EXPECT_EQ(accessible->text(QAccessible::Description), QStringLiteral("Überschreiben?"));
    }
}

} // namespace
