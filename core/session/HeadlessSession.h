// The main window's document, refresh cycle and editing commands without any
// widget: the diagram is laid out on the grid but not drawn, the editor and
// the menus are plain state. Tests and the command fuzzer drive it exactly as
// the window drives its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "EditSession.h"
#include "Refresh.h"

namespace ostrel {

class THeadlessSession final : public TEditHost, public TRefreshView {
 public:
  //! containerWidth: the width of the diagram container the editor spans.
  explicit THeadlessSession(int containerWidth = 716);
  THeadlessSession(const THeadlessSession&) = delete;
  THeadlessSession& operator=(const THeadlessSession&) = delete;

  //! File > New: the minimal theory written to "~tmp.kvl" and loaded.
  bool New();
  //! The refresh on a file (File > Open, or "~tmp.kvl").
  bool Open(const std::string& fileName) { return LoadTheoryFile(fileName); }
  //! Toggles an option and reloads "~tmp.kvl".
  void SetOptions(const TRefreshOptions& options);
  //! Shows the interpretation with this index in the diagram.
  void InterpretationButtonClick(int index);

  [[nodiscard]] TheoryDocument& Document() { return FDocument; }
  [[nodiscard]] TEditSession& Session() { return FSession; }
  [[nodiscard]] const TRefreshOptions& Options() const { return FOptions; }

  //! Presses the first drawn box of the sentence with this text (on its
  //! first row), as a user would point at it; false when none is drawn.
  bool PressBoxOf(std::string_view text);
  //! Presses a box by its index in creation order.
  void PressBox(std::size_t index);
  //! Presses the connector of the rule with this text; false when none.
  bool PressConnectorOf(std::string_view text);
  void PressFreeArea(int x, int y) { FSession.MouseDownOnFreeArea(x, y); }

  struct TBox {
    TDiagramBoxPlace Place;
    int Left = 0, Top = 0, Width = 0;
    bool Visible = true;
  };
  [[nodiscard]] const std::vector<TBox>& Boxes() const { return FBoxes; }
  //! Tags of the drawn rule connectors, in creation order.
  [[nodiscard]] const std::vector<int>& ConnectorTags() const { return FConnectorTags; }
  [[nodiscard]] int InterpretationButtonCount() const { return FButtons; }

  struct TEditorState {
    bool Visible = false;
    TEditorPlacement Placement;
    std::string Text;
    std::vector<std::string> Choices;
  };
  [[nodiscard]] const TEditorState& Editor() const { return FEditor; }
  //! Replaces the editor's text as typing would.
  void Type(std::string text) { FEditor.Text = std::move(text); }
  void PressEnter() { FSession.EnterPressed(FEditor.Text); }
  void PressEscape() { FSession.EscapePressed(); }

  [[nodiscard]] const std::string& StatusPanel(int panel) const;
  [[nodiscard]] const std::vector<std::string>& Errors() const { return FErrors; }
  [[nodiscard]] const TMenuVisibility& Menus() const { return FMenus; }
  [[nodiscard]] int Refreshes() const { return FRefreshes; }
  //! Whether the last refresh was abandoned: the document is then empty while
  //! "~tmp.kvl" still holds what was written before.
  [[nodiscard]] bool LastRefreshAbandoned() const { return FAbandoned; }

  // TEditHost
  bool LoadTheoryFile(const std::string& fileName) override;
  [[nodiscard]] const diagram::TDiagramPlan& DiagramPlan() const override { return FPlan; }
  [[nodiscard]] std::size_t DiagramBoxCount() const override { return FBoxes.size(); }
  [[nodiscard]] TDiagramBoxPlace DiagramBox(std::size_t index) const override {
    return FBoxes.at(index).Place;
  }
  void HideDiagramBox(std::size_t index) override { FBoxes.at(index).Visible = false; }
  void ShowAllDiagramShapes() override;
  [[nodiscard]] int Selection() const override { return FSelection; }
  void SetSelection(int index) override { FSelection = index; }
  [[nodiscard]] int ContainerWidth() const override { return FContainerWidth; }
  void OpenEditor(const TEditorPlacement& placement, std::string_view text,
                  const std::vector<std::string>& choices) override;
  void HideEditor() override { FEditor.Visible = false; }
  void SetStatusPanel(int panel, std::string_view text) override;
  void ApplyMenuVisibility(const TMenuVisibility& menus) override { FMenus = menus; }
  void ReportError(const std::string& message) override { FErrors.push_back(message); }

  // TRefreshView
  void RemoveDiagram() override;
  void EmptyTextViews() override;
  void SetStatusPanel1(std::string_view text) override { SetStatusPanel(1, text); }
  void ShowInterpretationButtons(int count) override { FButtons = count; }
  void RemoveInterpretationButtons() override { FButtons = 0; }
  const karvel::TListOfKarvelSentences& DrawDiagram(const TRefreshResult& result) override;
  void FillTextViews(const TRefreshResult& result) override;
  void AbandonRefresh(const karvel::TFileError& error) override;

  //! The theory view's lines of the last refresh.
  [[nodiscard]] const std::vector<std::string>& TheoryLines() const { return FTheoryLines; }

 private:
  TheoryDocument FDocument;
  TEditSession FSession;
  TRefreshOptions FOptions;
  int FContainerWidth;
  void DrawArgument();

  diagram::TDiagramPlan FPlan;
  std::vector<TBox> FBoxes;
  std::vector<int> FConnectorTags;
  int FSelection = -1;
  int FButtons = 0;
  TEditorState FEditor;
  TMenuVisibility FMenus;
  std::string FStatusPanels[2];
  std::vector<std::string> FErrors;
  std::vector<std::string> FTheoryLines;
  int FRefreshes = 0;
  bool FAbandoned = false;
};

}  // namespace ostrel
