#include "app/Controller.h"

#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "common/FileName.h"

void Controller::vor()
{
    move(+1);
}

void Controller::zurueck()
{
    move(-1);
}

// One step either way: the picture and its name, the arrows, the sliders.
void Controller::move(int step)
{
    if (!show_.move(step))
        return;
    updateArrows();
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
    panel_.setFileName(known ? common::displayFileName(Playlist[state.PictureIndex]) : QString());
}

// The loupe disables both arrows; otherwise each says whether there is a
// picture its way.
void Controller::updateArrows()
{
    panel_.setArrows(!state.ZoomMode && state.hasNext(), !state.ZoomMode && state.hasPrevious());
}

void Controller::zoombuttonClick()
{
    state.ZoomMode = !state.ZoomMode;
    Rahmen_.applyZoom();
    panel_.setZoomChecked(state.ZoomMode);
    updateArrows();
}
