#include "evaluation/prepare/CriteriaPanel.h"

#include "common/CaptionRoom.h"
#include "evaluation/prepare/PrepareTexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace evaluation {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

constexpr std::array<const char*, 3> kGroupNames{"Wirkung", "Technik", "Gestaltung"};

QString code(int criterion)
{
    return QString::fromStdString(layoutCaption(criterion)).trimmed();
}

} // namespace

CriteriaPanel::CriteriaPanel(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* groups = new QHBoxLayout;
    layout->addLayout(groups);
    for (int group = 0; group < 3; ++group) {
        auto* box = new QGroupBox(text(kGroupNames[static_cast<std::size_t>(group)]), this);
        auto* grid = new QGridLayout(box);
        for (int i = 0; i < kCriteriaPerGroup; ++i) {
            const int n = group * kCriteriaPerGroup + i;
            Row& row = rows_[static_cast<std::size_t>(n)];
            auto* label = new QLabel(code(n), box);
            row.maximum = new QSpinBox(box);
            row.maximum->setRange(0, 9);
            row.maximum->setObjectName(text(preparetexts::kWeight).arg(code(n)));
            row.maximum->setAccessibleName(row.maximum->objectName());
            row.description = new QLineEdit(box);
            row.description->setObjectName(text(preparetexts::kDescription).arg(code(n)));
            row.description->setAccessibleName(row.description->objectName());
            row.description->setMinimumWidth(common::kCaptionWidth + 20);
            row.fit = new QLabel(box);
            row.fit->setTextFormat(Qt::PlainText);
            label->setBuddy(row.description);
            grid->addWidget(label, i, 0);
            grid->addWidget(row.maximum, i, 1);
            grid->addWidget(row.description, i, 2);
            grid->addWidget(row.fit, i, 3);
            connect(row.maximum, &QSpinBox::valueChanged, this, &CriteriaPanel::update);
            connect(row.description, &QLineEdit::textChanged, this, &CriteriaPanel::update);
        }
        groupSums_[static_cast<std::size_t>(group)] = new QLabel(box);
        grid->addWidget(groupSums_[static_cast<std::size_t>(group)], kCriteriaPerGroup, 0, 1, 4);
        groups->addWidget(box, 1);
    }
    total_ = new QLabel(this);
    total_->setStyleSheet(QStringLiteral("font-weight: bold"));
    layout->addWidget(total_, 0, Qt::AlignRight); // below: the target has the room beside
    update();
}

void CriteriaPanel::setSettings(const CriterionSettings& settings)
{
    for (std::size_t n = 0; n < rows_.size(); ++n) {
        rows_[n].maximum->setValue(settings[n].maximum);
        rows_[n].description->setText(QString::fromStdString(settings[n].description));
    }
    update();
}

CriterionSettings CriteriaPanel::settings() const
{
    CriterionSettings settings;
    // Maximum 0 hides the row: the judging program hides a row without description.
    for (std::size_t n = 0; n < rows_.size(); ++n) {
        const int maximum = rows_[n].maximum->value();
        settings[n] = {maximum, maximum ? rows_[n].description->text().toStdString() : ""};
    }
    return settings;
}

QStringList CriteriaPanel::tooLong() const
{
    QStringList codes;
    for (std::size_t n = 0; n < rows_.size(); ++n)
        if (rows_[n].fit->text() == text(preparetexts::kTooLong))
            codes << code(static_cast<int>(n));
    return codes;
}

// What the judging program will show: a row with maximum 0 or no
// description is hidden, its maximum still counts in its group.
void CriteriaPanel::update()
{
    std::array<int, 3> sums{};
    for (std::size_t n = 0; n < rows_.size(); ++n) {
        const Row& row = rows_[n];
        sums[n / kCriteriaPerGroup] += row.maximum->value();
        const QString description = row.description->text();
        const bool hidden = row.maximum->value() == 0 || description.isEmpty();
        const bool fits = common::captionFits(QLatin1Char(' ') + description);
        row.fit->setText(text(hidden ? preparetexts::kHidden
                              : fits ? preparetexts::kFits
                                     : preparetexts::kTooLong));
        row.fit->setStyleSheet(hidden || fits ? QString() : QStringLiteral("color: #b00000"));
        row.fit->setAccessibleName(code(static_cast<int>(n)) + QLatin1Char(' ') + row.fit->text());
    }
    for (std::size_t g = 0; g < 3; ++g)
        groupSums_[g]->setText(
            text(preparetexts::kGroupSum).arg(text(kGroupNames[g])).arg(sums[g]));
    total_->setText(text(preparetexts::kTotalSum).arg(sums[0] + sums[1] + sums[2]));
}

} // namespace evaluation
