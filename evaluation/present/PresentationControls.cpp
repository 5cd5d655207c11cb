#include "evaluation/present/PresentationControls.h"

#include "evaluation/present/PresentTexts.h"
#include "evaluation/present/PresentationWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

namespace evaluation {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

PresentationControls::PresentationControls(const std::string& folder, QWidget* parent)
    : QWidget(parent), folder_(folder)
{
    auto* button = new QPushButton(text(presenttexts::kPresentation), this);
    button->setObjectName(button->text());
    auto* menu = new QMenu(button);
    menu->addAction(text(presenttexts::kAnnouncement), this, [this] { start(false); });
    menu->addAction(text(presenttexts::kRound), this, [this] { start(true); });
    button->setMenu(menu);

    // 0 is "alle": nothing to choose before the evening works.
    places_ = new QSpinBox(this);
    places_->setRange(0, 999);
    places_->setSpecialValueText(text(presenttexts::kAllPlaces));
    places_->setPrefix(text(presenttexts::kPlacesPrefix));
    places_->setAccessibleName(text(presenttexts::kPlaces));
    places_->setObjectName(places_->accessibleName());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button);
    layout->addWidget(places_);
}

void PresentationControls::start(bool round)
{
    std::string problem;
    if (openPresentation(folder_, round, places_->value(), problem, window()))
        return;
    QMessageBox box(QMessageBox::Information, text(presenttexts::kPresentation),
                    QString::fromStdString(problem), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText); // a folder's name is never markup
    box.exec();
}

} // namespace evaluation
