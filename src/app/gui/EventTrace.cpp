#include "EventTrace.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>

#include <fstream>

namespace quorvel::gui {
namespace {

std::ofstream& TraceFile()
{
    static std::ofstream file;
    return file;
}

class CModalDialogTrace final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (const auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isModal())
                Trace(std::string("modal ") + dialog->metaObject()->className());
        return false;
    }
};

} // namespace

bool StartTrace(const std::string& path)
{
    TraceFile().open(path, std::ios::app);
    return TraceFile().is_open();
}

void Trace(std::string_view line)
{
    if (std::ofstream& file = TraceFile(); file.is_open())
        file << line << '\n' << std::flush;
}

void TraceModalDialogs()
{
    static CModalDialogTrace* const trace = [] {
        auto* created = new CModalDialogTrace;
        created->setParent(qApp);
        qApp->installEventFilter(created);
        return created;
    }();
    (void)trace;
}

} // namespace quorvel::gui
