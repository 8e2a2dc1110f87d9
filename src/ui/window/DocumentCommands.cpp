#include "ui/window/DocumentCommands.h"

#include <functional>

#include "analysis/SliceSet.h"
#include "document/SoundDocument.h"
#include "fileformats/DocumentFile.h"
#include "fileformats/FileTypes.h"
#include "fileformats/GrooveMIDIExport.h"
#include "fileformats/QLXFile.h"
#include "fileformats/SoundExport.h"
#include "framework/window/AlertBox.h"
#include "ui/window/ExportPrompts.h"
#include "ui/window/NoLengthSpecifiedDialog.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

// Runs an export; a failure shows the alert it names, or `failureAlert`.
void RunExport(uint32_t failureAlert, QWidget* parent, const std::function<void()>& exportStep)
{
    try {
        exportStep();
    } catch (const XExportFailed& failure) {
        ShowAlert(AlertReference(static_cast<uint32_t>(failure.Table()), static_cast<uint32_t>(failure.Alert())),
                  {}, parent);
    } catch (const std::exception&) {
        ShowAlert(WindowAlert(failureAlert), {}, parent);
    }
}

} // namespace

std::string CDocumentCommands::SoundBaseName() const
{
    return document_.Sound() ? CFileSpec::BaseName(document_.Sound()->Name()) : std::string();
}

std::string CDocumentCommands::StartFolder() const
{
    if (document_.DocumentFile())
        return CFileSpec(*document_.DocumentFile()).Folder();
    if (document_.SourceFile())
        return CFileSpec(*document_.SourceFile()).Folder();
    return {};
}

std::string CDocumentCommands::DefaultDocumentName() const
{
    if (document_.DocumentFile())
        return CFileSpec(*document_.DocumentFile()).Name();
    return SoundBaseName() + FirstExtension(filetypes::kDocument);
}

bool CDocumentCommands::WriteTo(const std::string& path)
{
    try {
        SaveDocument(document_, CFileSpec(path));
        return true;
    } catch (const std::exception&) {
        ShowAlert(WindowAlert(windowalert::kSaveFailed), {}, parent_);
        return false;
    }
}

bool CDocumentCommands::Save()
{
    if (!document_.DocumentFile())
        return SaveAs();
    return WriteTo(*document_.DocumentFile());
}

bool CDocumentCommands::SaveAs()
{
    if (!document_.Sound())
        return false;
    SSaveFileRequest request;
    request.title = WindowTextString(windowtext::kSaveDocumentTitle);
    request.typeName = filetypes::kDocument.description;
    request.extension = FirstExtension(filetypes::kDocument);
    request.defaultName = DefaultDocumentName();
    request.folder = StartFolder();
    const std::optional<std::string> path = services_.FileDialogs().AskSaveFile(request);
    if (!path)
        return false;
    // The sound takes the file's name only once the file is written.
    const std::string oldName = document_.Sound()->Name();
    document_.Sound()->SetName(CFileSpec(*path).Name());
    if (WriteTo(*path))
        return true;
    document_.Sound()->SetName(oldName);
    return false;
}

bool CDocumentCommands::EnsureLength()
{
    CNoLengthSpecifiedDialog prompt(parent_);
    if (!document_.EnsureLength(prompt))
        return false;
    document_.RefreshTempo();
    return true;
}

void CDocumentCommands::ExportSound()
{
    if (!document_.Sound())
        return;
    const std::optional<SSoundExportChoice> choice =
        services_.FileDialogs().AskExportSound(SoundBaseName(), document_.Sound()->SampleRate(), StartFolder());
    if (!choice)
        return;
    document_.RefreshTempo();
    RunExport(windowalert::kSliceExportFailed, parent_, [&] {
        CExportJob job = MakeExportJob(document_);
        SoundExportParams params;
        params.baseFile = CFileSpec(choice->path);
        params.type = choice->flac ? &filetypes::kFLAC : choice->wave ? &filetypes::kWave : &filetypes::kAIFF;
        params.rate = choice->sampleRate;
        CWindowExportQuestions questions(services_.FileDialogs(), SoundBaseName(), StartFolder(), parent_);
        CLengthyExportProgress progress(services_.LengthyOperations());
        ExportSlicesToFiles(job, params, questions, progress);
    });
}

void CDocumentCommands::ExportGrooveMIDI()
{
    if (!document_.Sound() || !EnsureLength())
        return;
    RunExport(windowalert::kMIDIExportFailed, parent_, [&] {
        const CExportJob job = MakeExportJob(document_);
        CWindowExportQuestions questions(services_.FileDialogs(), SoundBaseName(), StartFolder(), parent_);
        ExportGrooveMIDICommand(job, questions);
    });
}

void CDocumentCommands::ExportQLX()
{
    if (!document_.Sound() || !EnsureLength())
        return;
    CWindowExportQuestions questions(services_.FileDialogs(), SoundBaseName(), StartFolder(), parent_);
    const std::optional<CFileSpec> file =
        questions.AskSaveFile({WindowTextString(windowtext::kExportQLXTitle), &filetypes::kQLX, ""});
    if (!file)
        return;
    RunExport(windowalert::kQLXExportFailed, parent_, [&] {
        CExportJob job = MakeExportJob(document_);
        CLengthyExportProgress progress(services_.LengthyOperations());
        ExportQLXFile(job, *file, questions, progress);
    });
}

} // namespace quorvel
