#include "common/FileName.h"

#include "core/Platform.h"
#include "core/TextEncoding.h"

#include <QFile>
#include <QFileInfo>

namespace common {

QString displayFileName(const std::string& bytes)
{
    return QString::fromStdString(displayText(bytes));
}

std::string displayFileNameUtf8(std::string_view bytes)
{
    return displayText(bytes);
}

std::string fileNameBytes(const QString& shownPath)
{
    std::string encoded = QFile::encodeName(shownPath).toStdString();
    const QFileInfo shown(shownPath);
    if (platform::status(encoded, platform::Links::doNotFollow) || shown.fileName().isEmpty())
        return encoded;
    const std::string folder = QFile::encodeName(shown.path()).toStdString();
    std::string found;
    int matches = 0;
    platform::forEachEntry(folder, [&](const platform::FolderEntry& entry) {
        const std::string name(entry.name());
        if (displayFileName(name) == shown.fileName() && ++matches == 1)
            found = name;
    });
    if (matches != 1)
        return encoded;
    return folder + (platform::isSeparator(folder.back()) ? "" : "/") + found;
}

} // namespace common
