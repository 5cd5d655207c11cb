#include "Viewer/CriterionRow.h"

#include "common/CaptionRoom.h"
#include "core/Criteria.h"

#include <QSignalBlocker>

CriterionRow::CriterionRow(int criterion, QWidget* parent)
    : QFrame(parent), criterion_(criterion), caption_(new caption::Label(this)),
      slider_(new QSlider(Qt::Horizontal, this)), value_(new QLabel(QStringLiteral("0"), this))
{
    const QString code = QString::fromStdString(layoutCaption(criterion)).trimmed();
    setObjectName(QStringLiteral("Panel") + code);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);

    caption_->setGeometry(2, 2, common::kCaptionWidth, 26);
    caption_->setFont(common::criterionCaptionFont()); // what captionFits measures with
    caption_->setCaption(QString::fromStdString(layoutCaption(criterion)));

    slider_->setObjectName(QStringLiteral("T") + code);
    slider_->setGeometry(128, 3, 136, 20);
    slider_->setRange(0, 0);
    slider_->setSingleStep(1);
    slider_->setPageStep(1);
    slider_->setTickPosition(QSlider::TicksAbove);
    slider_->setTickInterval(1);
    slider_->setAccessibleName(code);

    value_->setObjectName(QStringLiteral("L") + code);
    value_->setGeometry(260, 8, 36, 20);
    value_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The judge's own operation: every change, and the end of a drag even
    // when the value stayed.
    connect(slider_, &QSlider::valueChanged, this,
            [this](int value) { emit operated(criterion_, value); });
    connect(slider_, &QSlider::sliderReleased, this,
            [this] { emit operated(criterion_, slider_->value()); });
}

void CriterionRow::setRange(int maximum, int position)
{
    const QSignalBlocker block(slider_);
    slider_->setRange(0, maximum);
    slider_->setValue(position);
}

void CriterionRow::setPosition(int position)
{
    const QSignalBlocker block(slider_);
    slider_->setValue(position);
}

void CriterionRow::setValueText(const QString& text)
{
    value_->setText(text);
}

void CriterionRow::setCaption(const QString& text)
{
    caption_->setCaption(text);
    setAccessibleName(caption_->accessibleName());
    // A screen reader names the slider after its criterion.
    slider_->setAccessibleName(caption_->accessibleName().trimmed());
}
