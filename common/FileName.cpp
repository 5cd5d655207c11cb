#include "common/FileName.h"

#include <QFile>

namespace common {

QString displayFileName(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string displayFileNameUtf8(std::string_view bytes)
{
    return displayFileName(std::string(bytes)).toStdString();
}

} // namespace common
