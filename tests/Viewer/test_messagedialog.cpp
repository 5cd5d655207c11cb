#include "Viewer/MessageDialog.h"

#include "QtApplication.h"

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

} // namespace
