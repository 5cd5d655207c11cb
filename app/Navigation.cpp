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
    rating::QelRefresh(QelList, show_.index(), board);
}

void Controller::FormMouseDown(Qt::MouseButton button, QPoint position)
{
    if (Rahmen_.isLoupe()) {
        Rahmen_.startPan(position);
        return;
    }
    if (show_.hasPictures() && button == Qt::LeftButton && show_.hasNext())
        vor();
    if (show_.hasPictures() && button == Qt::RightButton && show_.hasPrevious())
        zurueck();
}

void Controller::showFileName()
{
    const auto index = static_cast<std::size_t>(show_.index());
    panel_.setFileName(index < Playlist.size() ? common::displayFileName(Playlist[index])
                                               : QString());
}

// The loupe disables both arrows; otherwise each says whether there is a
// picture its way.
void Controller::updateArrows()
{
    const bool loupe = Rahmen_.isLoupe();
    panel_.setArrows(!loupe && show_.hasNext(), !loupe && show_.hasPrevious());
}

void Controller::zoombuttonClick()
{
    Rahmen_.setLoupe(!Rahmen_.isLoupe());
    panel_.setZoomChecked(Rahmen_.isLoupe());
    updateArrows();
}
