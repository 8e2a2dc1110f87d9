#include "framework/window/DroppedFiles.h"

#include <QMimeData>
#include <QUrl>

namespace quorvel {

std::vector<std::string> DroppedLocalFiles(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (!path.isEmpty())
            paths.push_back(path.toStdString());
    }
    return paths;
}

} // namespace quorvel
