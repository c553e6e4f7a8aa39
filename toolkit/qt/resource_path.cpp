#include "toolkit/qt/resource_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tk::qt {

QString findResource(const std::string& name) {
  if (name.empty()) return {};
  const QString file = QString::fromStdString(name);
  if (QFileInfo(file).isAbsolute()) return QFileInfo::exists(file) ? file : QString();
  QStringList dirs;
  if (const QByteArray env = qgetenv("SONVERO_RESOURCE_DIR"); !env.isEmpty()) dirs << QString::fromLocal8Bit(env);
  const QString exe = QCoreApplication::applicationDirPath();
  dirs << exe << exe + "/resources" << exe + "/../share/sonvero";
  for (const QString& dir : dirs) {
    const QString path = QDir(dir).filePath(file);
    if (QFileInfo::exists(path)) return path;
  }
  return {};
}

}  // namespace tk::qt
