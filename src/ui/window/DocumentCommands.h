#pragma once
// The document window's file commands: Save, Save As and the three exports
// of the File menu. Each asks its questions, runs, and shows the alert of
// its failure; the document is left as it was when one fails.
#include <string>

#include "ui/window/WindowServices.h"

class QWidget;

namespace quorvel {

class CSoundDocument;

class CDocumentCommands {
public:
    // None is owned. `parent` centres the dialogs and alerts.
    CDocumentCommands(CSoundDocument& document, CWindowServices& services, QWidget* parent)
        : document_(document), services_(services), parent_(parent)
    {
    }

    // To the document's file, or Save As when it has none. True when written.
    bool Save();
    // Asks for a file; on success the sound takes the file's name and the
    // file becomes the document's file. False when cancelled or failed.
    bool SaveAs();

    void ExportSound();
    void ExportGrooveMIDI();
    void ExportQLX();

    // The name Save As proposes: the document's file, else the sound's name.
    std::string DefaultDocumentName() const;

    // Asks for the bars when the loop has no length; false cancels.
    bool EnsureLength();

private:
    bool WriteTo(const std::string& path);
    std::string SoundBaseName() const;
    std::string StartFolder() const;

    CSoundDocument& document_;
    CWindowServices& services_;
    QWidget* parent_;
};

} // namespace quorvel
