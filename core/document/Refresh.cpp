#include "Refresh.h"

#include <sys/stat.h>

#include <algorithm>
#include <new>

namespace ostrel {

namespace {

// Every write reaches the disk before its rename, which costs milliseconds;
// most reloads (an option, an undo, the reload after a command's own write)
// would write the very bytes the working file holds, so those are left
// alone. A link in the file's place is still replaced.
void WriteWorkingFile(const karvel::TKarvelFile& file, const std::string& name) {
  struct stat info {};
  if (::lstat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::size_t>(info.st_size) == file.Text.size() + 2) {
    try {
      const std::string bytes = karvel::ReadFileBytes(name);
      if (bytes.size() == file.Text.size() + 2 && bytes.compare(0, file.Text.size(), file.Text) == 0 &&
          bytes.compare(file.Text.size(), 2, "\r\n") == 0)
        return;
    } catch (const karvel::TFileError&) {
      // Unreadable: written anew below.
    }
  }
  file.SaveToFile(name);
}

TRefreshResult RefreshDocument(TheoryDocument& document, const TRefreshRequest& request) {
  TRefreshResult result;
  const TRefreshOptions& options = request.Options;
  try {
    if (request.Bytes)
      document.ReadBytes(*request.Bytes, options.ParseSentences);
    else
      document.Read(request.FileName, options.ParseSentences);
    if (request.WriteWorkingFile) WriteWorkingFile(document.File(), document.WorkingFileName());
  } catch (const karvel::TFileError& error) {
    document.Clear();
    result.Error = error;
    return result;
  }
  result.Theory = &document.Theory();
  result.ArgumentSentences = &document.ArgumentSentences();
  result.Interpretations = &document.Interpretations();

  // The search reads the assumptions only, and collecting adds no sentence
  // and changes no status the search sets, so the lists can be final first.
  document.CollectArgumentSentences();
  document.RefreshVariables();
  if (request.ListsReady) request.ListsReady();
  if (request.Summarize) {
    document.ComputeSummary(options.ShowStructureOnly, request.Progress);
    result.Summary = document.Summary();
    result.SummaryStopped = document.SummaryStopped();
  }
  if (!request.SearchInterpretations) return result;

  if (!request.Visit) {
    document.ComputeInterpretations(options.ShowStructureOnly, request.Progress);
  } else if (!options.ShowStructureOnly &&
             (request.SearchWithoutAssumptions || !document.Theory().Assumptions.empty())) {
    document.StreamInterpretations(request.Visit, request.Progress);
  }
  result.InterpretationsComputed = document.InterpretationsComputed();
  result.SearchStopped = document.SearchStopped();
  result.InterpretationCount = document.InterpretationCount();
  result.StatusText = document.StatusText();
  // Handed-over interpretations have no buttons.
  if (!result.InterpretationsComputed || request.Visit) return result;
  const auto count = result.InterpretationCount;
  // A button shows an interpretation the document kept.
  const std::size_t buttons = std::min(
      {count, document.Interpretations().size(), static_cast<std::size_t>(kMaxInterpretationButtons)});
  if (count > buttons) result.StatusText += " Buttons show the first " + std::to_string(buttons) + ".";
  if (count >= 2) result.ButtonCount = static_cast<int>(buttons);
  return result;
}

}  // namespace

TRefreshResult Refresh(TheoryDocument& document, const TRefreshRequest& request) {
  // A file that parses into more than memory holds ends the refresh like
  // one that cannot be read: an empty document and a message, never an
  // abort that takes the window and its undo history along.
  try {
    return RefreshDocument(document, request);
  } catch (const std::bad_alloc&) {
    document.Clear();
    TRefreshResult result;
    result.Error = karvel::TFileError(karvel::TFileError::TKind::OutOfMemory, request.FileName);
    return result;
  }
}

TRefreshRequest ToolRequest(std::string fileName, const TRefreshOptions& options) {
  TRefreshRequest request;
  request.FileName = std::move(fileName);
  request.Options = options;
  request.WriteWorkingFile = false;
  return request;
}

TRefreshRequest ToolRequestFromBytes(std::string_view bytes, const TRefreshOptions& options) {
  TRefreshRequest request = ToolRequest({}, options);
  request.Bytes = bytes;
  return request;
}

bool RunRefresh(TheoryDocument& document, const std::string& fileName, const TRefreshOptions& options,
                TRefreshView& view) {
  // Reading discards the old document; the diagram items carry only indices,
  // so removing them after the discard is safe.
  view.RemoveDiagram();
  view.EmptyTextViews();
  view.SetStatusPanel1({});
  TRefreshRequest request;
  request.FileName = fileName;
  request.Options = options;
  request.Progress = view.SearchProgress();
  const TRefreshResult result = Refresh(document, request);
  if (!result.Loaded()) {
    view.AbandonRefresh(*result.Error);
    return false;
  }
  view.SetStatusPanel1(result.StatusText);
  if (result.ButtonCount > 0)
    view.ShowInterpretationButtons(result.ButtonCount);
  else
    view.RemoveInterpretationButtons();
  document.RegisterDrawnSentences(view.DrawDiagram(result));
  view.FillTextViews(result);
  return true;
}

}  // namespace ostrel
