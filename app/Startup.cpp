#include "app/Controller.h"

#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "app/Guard.h"
#include "common/FileName.h"
#include "core/Failure.h"
#include "core/Messages.h"
#include "core/Weighting.h"
#include "pictures/Decoder.h"

Controller::Controller(TScreenForm& form, messagebox::Boxes& boxes, FileChooser chooser)
    : form_(form), boxes_(boxes), panel_(*form.QelPanel_()), Rahmen_(*form.Rahmen()),
      show_(form, boxes), Playlist(show_.playlist()), Qelopen(std::move(chooser))
{
    board.setChangeHandler([this] { SummenClick(); });
    if (!Qelopen)
        Qelopen = [this] { return runQelopen(&form_, lastChosenFile_); };
    form_.setCloseGuard([this] { return mayClose(); });
    connectControls();
}

void Controller::connectControls()
{
    // Every handler runs guarded: what escapes goes to the general error box.
    auto on = [this](auto* sender, auto signal, void (Controller::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { guarded(boxes_, [&] { (this->*handler)(); }); });
    };
    on(&panel_, &QelPanel::nextClicked, &Controller::vor);
    on(&panel_, &QelPanel::previousClicked, &Controller::zurueck);
    on(&panel_, &QelPanel::saveClicked, &Controller::bsaveClick);
    on(&panel_, &QelPanel::loadClicked, &Controller::bloadClick);
    on(&panel_, &QelPanel::zoomClicked, &Controller::zoombuttonClick);
    on(&panel_, &QelPanel::infoClicked, &Controller::SpeedButton2Click);
    on(&panel_, &QelPanel::webClicked, &Controller::ButtonvandaroClick);
    on(&panel_, &QelPanel::minimiseClicked, &Controller::MinButtonClick);
    on(&panel_, &QelPanel::closeClicked, &Controller::CloseBtnClick);
    on(&show_, &PictureShow::pictureShown, &Controller::showFileName);
    connect(&panel_, &QelPanel::grayStepped, this,
            [this](int position) { guarded(boxes_, [&] { HintergrundClick(position); }); });
    connect(&panel_, &QelPanel::criterionOperated, this, [this](int criterion, int position) {
        guarded(boxes_, [&] { board.operate(criterion, position); });
    });
    connect(form_.mouse(), &MouseRouter::pressed, this, [this](Qt::MouseButton button, QPoint at) {
        guarded(boxes_, [&] { FormMouseDown(button, at); });
    });
    connect(&show_, &PictureShow::pictureFailed, this, [this](int index) {
        const std::string& name = Playlist.at(static_cast<std::size_t>(index));
        boxes_.warning(messages::cannotOpenPicture(common::displayFileName(name).toStdString()));
    });
    connect(&show_, &PictureShow::decodeFailed, this, [this](const pictures::DecodeError& error) {
        boxes_.generalError(pictures::errorText(error));
    });
}

void Controller::FormCreate()
{
    form_.setBackgroundGray(0);
    Rahmen_.setLoupe(false);
    Rahmen_.BildMouseUp(); // no pan drag
    LoadWeighting();
    show_.autoload(); // the picture state, the list, and the first picture's timer
    QelListReset();
    showFileName();
    updateArrows();
    computeMaxima();
}

void Controller::LoadWeighting()
{
    // Whatever goes wrong here is reported here; start-up always goes on.
    Weighting weighting;
    try {
        weighting = readWeighting();
    } catch (const std::exception&) { // out of memory: as if unreadable
        weighting = Weighting{};
    }
    for (int n = 0; n < weighting.validMaxima; ++n) {
        board.setMaximum(n, weighting.maxima[static_cast<std::size_t>(n)]);
        panel_.setCriterionRange(n, board.maximum(n), board.position(n));
    }
    if (const auto warning = weighting.warning()) {
        boxes_.warning(*warning);
        return;
    }
    for (int n = 0; n < kCriterionCount; ++n)
        panel_.setValueText(
            n, QString::fromStdString(rating::valueLabel(board.position(n), board.maximum(n))));
    for (int n = 0; n < kCriterionCount; ++n) {
        const WeightingRow& row = weighting.rows[static_cast<std::size_t>(n)];
        panel_.setCriterionCaption(n, QString::fromStdString(displayText(row.caption)),
                                   row.visible);
    }
}

void Controller::QelListReset()
{
    QelList = rating::freshSheet(Playlist);
    savedSheet_ = QelList;
}
