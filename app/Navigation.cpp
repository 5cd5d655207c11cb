#include "app/Controller.h"

#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"

#include <QFile>

void Controller::vor()
{
    if (!state.HasPictures || !state.hasNext())
        return;
    ++state.PictureIndex;
    const bool preloadNext = cache_.forward(warnStopping(LoadTimer));
    showCachedPicture(warnStopping(LoadTimer));
    showFileName();
    if (preloadNext)
        startOnce(LoadTimer);
    enableArrowButtons();
    rating::QelRefresh(QelList, state.PictureIndex, board);
}

void Controller::zurueck()
{
    if (!state.HasPictures || !state.hasPrevious())
        return;
    --state.PictureIndex;
    const bool preloadPrevious = cache_.back(warnStopping(LoadTimer));
    showCachedPicture(warnStopping(LoadTimer));
    showFileName();
    if (preloadPrevious)
        startOnce(LoadTimer);
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
    const bool known = state.PictureIndex < Playlist.size();
    panel_.setFileName(known ? QFile::decodeName(Playlist[state.PictureIndex].c_str()) : QString());
}

void Controller::enableArrowButtons()
{
    panel_.setArrows(state.hasNext(), state.hasPrevious());
}

void Controller::zoombuttonClick()
{
    state.ZoomMode = !state.ZoomMode;
    Rahmen_.applyZoom();
    panel_.setZoomChecked(state.ZoomMode);
    if (state.ZoomMode)
        panel_.setArrows(false, false);
    else
        enableArrowButtons();
}
