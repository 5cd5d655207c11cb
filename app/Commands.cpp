#include "app/Controller.h"

#include "Viewer/BackgroundGray.h"
#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "Viewer/WebAddress.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

void Controller::HintergrundClick(int position)
{
    const std::uint8_t GrayLevel = background::grayLevel(position);
    form_.setBackgroundGray(GrayLevel);
    Rahmen_.setFrameColour(form_.backgroundColour());
}

void Controller::MinButtonClick()
{
    form_.showMinimized();
}

void Controller::CloseBtnClick()
{
    form_.close();
}

void Controller::SpeedButton2Click()
{
    // The desktop's own answer is not ours to report.
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("InfoQuintavo.pdf"))));
}

void Controller::ButtonvandaroClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("https://") + QLatin1String(webaddress::kHost)));
}
