#include "app/Controller.h"

#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"

#include <QFile>

void Controller::vor()
{
    if (!state.HasPictures || !state.hasNext())
        return;
    ++state.PictureIndex;
    released_ = std::move(backTemp);
    backTemp = Bild;
    backIndex_ = bildIndex_;
    if (forwardIndex_ != state.PictureIndex) // the preload has not run yet
        loadInto(ForwardTemp, forwardIndex_, state.PictureIndex, LoadTimer);
    fit(ForwardTemp);
    show(ForwardTemp, forwardIndex_);
    showFileName();
    if (state.hasNext()) {
        state.LoadForward = true;
        startOnce(LoadTimer);
    }
    enableArrowButtons();
    rating::QelRefresh(QelList, state.PictureIndex, board);
}

void Controller::zurueck()
{
    if (!state.HasPictures || !state.hasPrevious())
        return;
    --state.PictureIndex;
    released_ = std::move(ForwardTemp);
    ForwardTemp = Bild;
    forwardIndex_ = bildIndex_;
    if (backIndex_ != state.PictureIndex)
        loadInto(backTemp, backIndex_, state.PictureIndex, LoadTimer);
    fit(backTemp);
    show(backTemp, backIndex_);
    showFileName();
    if (state.hasPrevious()) {
        state.LoadBack = true;
        startOnce(LoadTimer);
    }
    enableArrowButtons();
    rating::QelRefresh(QelList, state.PictureIndex, board);
}

void Controller::FormMouseDown(Qt::MouseButton button, QPoint position)
{
    if (state.ZoomMode) {
        Rahmen_.startPan(position);
        return;
    }
    if (state.HasPictures && button == Qt::LeftButton && state.hasNext())
        vor();
    if (state.HasPictures && button == Qt::RightButton && state.hasPrevious())
        zurueck();
}

void Controller::showFileName()
{
    panel_.Bilddatei->setText(QStringLiteral("Bild: "));
    const bool known = state.PictureIndex < Playlist.size();
    panel_.FilePanel->setCaption(known ? QFile::decodeName(Playlist[state.PictureIndex].c_str())
                                       : QString());
}

void Controller::enableArrowButtons()
{
    panel_.setArrows(state.hasNext(), state.hasPrevious());
}

void Controller::zoombuttonClick()
{
    state.ZoomMode = !state.ZoomMode;
    Rahmen_.setZoom(state.ZoomMode);
    panel_.zoombutton->setChecked(state.ZoomMode);
    if (state.ZoomMode)
        panel_.setArrows(false, false);
    else
        enableArrowButtons();
}
