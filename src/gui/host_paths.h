// Host paths to and from Qt's strings: on Windows as UTF-16, the path's own characters;
// elsewhere as the file-name bytes Qt uses. Nothing goes through a narrow code page.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <filesystem>

inline std::filesystem::path hostPathOf(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

inline QString qtPathOf(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}
