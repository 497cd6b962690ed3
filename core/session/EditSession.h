// The editing side of the main window without the widgets: selection in the
// diagram, command availability, the Edit commands with their pending marks
// and the completion of a command in the in-place editor. Every change goes
// through "~tmp.kvl" and the host's refresh; the window and the headless
// session are hosts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CommandAvailability.h"
#include "DiagramPlan.h"
#include "TheoryDocument.h"

namespace ostrel {

//! One sentence box of the diagram: its sentence's index and its grid cell.
struct TDiagramBoxPlace {
  int Tag = 0;
  int Row = 0;
  int Column = 0;
};

//! Where the in-place editor goes, in container coordinates.
struct TEditorPlacement {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  bool operator==(const TEditorPlacement&) const = default;
};

//! What the editing side needs of the window.
class TEditHost {
 public:
  virtual ~TEditHost() = default;
  //! The whole refresh cycle on a file; false when it was abandoned (the
  //! user has been told).
  virtual bool LoadTheoryFile(const std::string& fileName) = 0;
  //! The drawn diagram's plan.
  [[nodiscard]] virtual const diagram::TDiagramPlan& DiagramPlan() const = 0;
  //! The sentences of the drawn diagram, indexed by the controls' tags.
  [[nodiscard]] const karvel::TListOfKarvelSentences& DiagramSentences() const {
    return DiagramPlan().DiagramSentences;
  }
  //! The first free row under the diagram.
  [[nodiscard]] int DiagramRowCount() const { return DiagramPlan().DiagramRowCount; }
  //! The sentence boxes of the diagram, in creation order.
  [[nodiscard]] virtual std::size_t DiagramBoxCount() const = 0;
  [[nodiscard]] virtual TDiagramBoxPlace DiagramBox(std::size_t index) const = 0;
  virtual void HideDiagramBox(std::size_t index) = 0;
  //! Makes every shape of the diagram visible again.
  virtual void ShowAllDiagramShapes() = 0;
  //! The selection index (the container's tag); -1 for none.
  [[nodiscard]] virtual int Selection() const = 0;
  virtual void SetSelection(int index) = 0;
  //! The width of the diagram container.
  [[nodiscard]] virtual int ContainerWidth() const = 0;
  //! Places the editor, refills its choices (sorted; none gives the simple
  //! style), sets its text, shows it and gives it the focus.
  virtual void OpenEditor(const TEditorPlacement& placement, std::string_view text,
                          const std::vector<std::string>& choices) = 0;
  virtual void HideEditor() = 0;
  virtual void SetStatusPanel(int panel, std::string_view text) = 0;
  //! The menus show what the visibility says.
  virtual void ApplyMenuVisibility(const TMenuVisibility& menus) = 0;
  //! A file error outside a refresh ("Cannot create file ...").
  virtual void ReportError(const std::string& message) = 0;
};

//! The four pending marks of the two-phase commands.
struct TPendingMarks {
  bool AddingSentence = false;
  bool ChangingSentence = false;
  bool AddingSupportOrAttack = false;
  bool AddingConjunct = false;
  bool operator==(const TPendingMarks&) const = default;
};

class TEditSession {
 public:
  TEditSession(TheoryDocument& document, TEditHost& host);
  TEditSession(const TEditSession&) = delete;
  TEditSession& operator=(const TEditSession&) = delete;

  // Selection in the diagram (x, y in diagram coordinates).
  //! A press on a box, connector line, hit strip or stroke with this tag.
  void MouseDownOnShape(int tag, int x, int y);
  //! A press on the free area of the diagram.
  void MouseDownOnFreeArea(int x, int y);
  //! No selection, and the menus of the free area: what was selected may
  //! be another sentence, or none, after the file has been replaced.
  void SelectNothing();
  //! A double click that followed a press; box is the pressed box's index
  //! in creation order, or -1 on the free area.
  void DoubleClick(int box);
  void SetMouseCell(int x, int y);

  //! The Edit menu opens.
  void Edit1Click();

  // The Edit commands.
  void Setasassumption1Click();
  void Setasissue1Click();
  //! senderBox: the invoking diagram box (its index in creation order), or -1.
  void Changeelementarysentence1Click(int senderBox = -1);
  void Addconjunct1Click();
  void Addstatement1Click();
  void Addelementarysentence1Click() { Addstatement1Click(); }
  void Adddialecticalnegation2Click();
  void Givesupport1Click();
  void Attack1Click();
  void Delete1Click();

  // The in-place editor's keys.
  //! Escape: the cancel clean-up, a reload, the editor closed, marks cleared.
  void EscapePressed();
  //! Enter with the editor's text as file bytes.
  void EnterPressed(std::string_view typed);

  //! The window's resize: the editor's new width for its current left edge.
  [[nodiscard]] int EditorWidthAfterResize() const;

  //! The selected sentence, or null when the index is outside the diagram.
  [[nodiscard]] karvel::TKarvelSentence* SelectedSentence() const;

  TPendingMarks Marks;
  int MouseRow = -1;
  int MouseColumn = -1;
  [[nodiscard]] const std::string& OldConditionalText() const { return FOldConditionalText; }
  [[nodiscard]] const std::string& NewConditionalText() const { return FNewConditionalText; }
  [[nodiscard]] const TMenuVisibility& Menus() const { return FMenus; }
  //! Whether the editor is open (as far as the commands know).
  [[nodiscard]] bool EditorOpen() const { return FEditorOpen; }
  [[nodiscard]] const TEditorPlacement& EditorPlacement() const { return FPlacement; }

  //! The tag words a committed text may not hold: the file could not carry
  //! it back. The first one the text holds, or empty.
  static std::string_view ForbiddenTagIn(std::string_view text);

 private:
  // What a command may change before its first write, so that a refusal or
  // a failed write leaves the document, the marks and the editor as they
  // were.
  struct TKeptSentence {
    karvel::TKarvelSentence* Sentence;
    std::string Text;
    std::vector<std::string> Variables;
    karvel::TListOfKarvelSentences Antecedents;
    bool IsAssumption;
    bool IsIssue;
  };
  struct TCommandState {
    karvel::TListOfKarvelSentences Assumptions, Issues;
    std::string FileText;
    TPendingMarks Marks;
    std::string OldConditionalText, NewConditionalText;
    bool EditorOpen = false;
    int Selection = -1;
    std::size_t Writes = 0;
    std::vector<TKeptSentence> Kept;
  };
  [[nodiscard]] TCommandState CaptureState(const TPendingMarks& marks);
  //! Remembers a sentence the command is about to change in place.
  void Keep(karvel::TKarvelSentence* sentence);
  void RestoreInMemory(TCommandState& state);
  //! After a failed write or reload: the working file and the document go
  //! back to before the command (before the pending command, once one of
  //! its phases reached the file), with no mark set and no editor open.
  void RollBack(TCommandState& state, bool reloadFailed);
  //! Refuses the command when a sentence it builds would nest deeper than
  //! the reader accepts: the file could not carry it back.
  void RequireNestingDepth(int depth);
  //! The same for the compounds Add conjunct parses anew.
  void RequireConjunctDepth(const karvel::TKarvelConditional& c);
  //! The file text when no command was pending, for rolling back a later
  //! phase of one.
  void NotePendingStart();

  // The steps the commands share; a failed write or refresh ends the command.
  void WriteWorkingFile();
  void WriteTemporaryFile();
  void SaveAndReload();
  void OpenEditorOnPlaceholder();
  //! The first phase's wait: a new placeholder assumption, written and reloaded.
  karvel::TKarvelSentence* AppendPlaceholderAndReload();
  void SetStatuses(bool asAssumption);
  void CommitNewSentence(std::string_view text);
  //! False when nothing valid was selected (the editor stays open).
  bool CommitChangedSentence(std::string_view text);
  void CancelCommand();
  void OpenEditor(const TEditorPlacement& placement, std::string_view text);
  void ApplyMenus();
  //! Runs a command body; a file error ends it where it occurred and rolls
  //! back what it changed. marksBefore: the marks as the command found them,
  //! when it changed them before the body runs.
  template <typename Body>
  void Run(Body body, const TPendingMarks* marksBefore = nullptr);

  karvel::TKarvelTheory& Theory() { return FDocument.Theory(); }
  karvel::TListOfKarvelSentences& Assumptions() { return FDocument.Theory().Assumptions; }
  karvel::TListOfKarvelSentences& Issues() { return FDocument.Theory().Issues; }

  TheoryDocument& FDocument;
  TEditHost& FHost;
  TMenuVisibility FMenus;
  std::string FOldConditionalText;
  std::string FNewConditionalText;
  TEditorPlacement FPlacement;
  bool FEditorOpen = false;
  TCommandState* FCommand = nullptr;
  std::size_t FWrites = 0;
  std::string FPendingStartText;
};

}  // namespace ostrel
