#include "common/FileName.h"

#include <QFile>

namespace common {

QString displayFileName(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace common
