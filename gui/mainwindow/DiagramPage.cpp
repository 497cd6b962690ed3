#include "DiagramPage.h"

#include <QComboBox>
#include <QGraphicsScene>
#include <QLineEdit>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

#include "DisplayText.h"
#include "TDiagramView.h"
#include "TShapeWithDoubleClicks.h"

namespace ostrel {

TDiagramPage::TDiagramPage(const TEditSession& session)
    : FSession(session), FPage(std::make_unique<QWidget>()) {
  diagram::InitDiagramMetrics(FMetrics);
  FPage->setObjectName(QStringLiteral("TabSheet1"));
  FLayout = new QVBoxLayout(FPage.get());
  FLayout->setContentsMargins(0, 0, 0, 0);
  FLayout->setSpacing(0);

  ScrollBox1 = new TDiagramView(FPage.get());
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  FLayout->addWidget(ScrollBox1, 1);

  // The in-place editor and the unused edit box live on the container, not in
  // the scene, so diagram rebuilds never touch them.
  auto editor = std::make_unique<QComboBox>();
  ComboBox1 = editor.get();
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::InsertAlphabetically);
  ComboBox1->hide();
  ScrollBox1->PlaceChild(editor.release(), QRect(2, 2, 241, 21));

  auto edit2 = std::make_unique<QLineEdit>();
  edit2->setObjectName(QStringLiteral("Edit2"));
  edit2->hide();
  ScrollBox1->PlaceChild(edit2.release(), QRect(160, 192, 241, 21));
}

TDiagramPage::~TDiagramPage() = default;

// ---- the drawing -------------------------------------------------------------

void TDiagramPage::Draw(const karvel::TListOfKarvelSentences& sentences, const karvel::TKarvelTheory& theory,
                        const diagram::TDiagramOptions& options) {
  FDiagramRetired = false;
  FDiagramPlan =
      diagram::RedrawDiagram(ScrollBox1->Scene(), sentences, theory, options, FMetrics, FDiagramItems);
  CollectBoxes();
  UpdateSelectionMark();
  // The drawing set the extent; the editor follows it.
  ScrollBox1->RepositionChildren();
}

void TDiagramPage::CollectBoxes() {
  FBoxes.clear();
  FConnectors.clear();
  // Hit strips are shapes too, but draw nothing and take no mark.
  for (std::size_t i = 0; i < FDiagramItems.Items.size(); ++i) {
    if (FDiagramItems.Controls[i].Kind == diagram::TControlKind::Box) {
      FBoxes.push_back(static_cast<diagram::TShapeWithDoubleClicks*>(FDiagramItems.Items[i]));
    } else if (FDiagramItems.Controls[i].Kind == diagram::TControlKind::ConnectorLine) {
      FConnectors.push_back(static_cast<diagram::TShapeWithDoubleClicks*>(FDiagramItems.Items[i]));
    }
  }
}

void TDiagramPage::Retire() {
  // The items stay in the scene, unseen and untouched, until the new drawing
  // takes them over: making and deleting a hundred thousand items costs more
  // than the rest of a refresh. No event is handled in between unless the
  // search's dialog shows, and that finishes the removal first.
  FBoxes.clear();
  FConnectors.clear();
  ScrollBox1->SetSelectionMark({});
  FDiagramRetired = true;
}

void TDiagramPage::FinishRemoval() {
  if (!FDiagramRetired) return;
  FDiagramRetired = false;
  FDiagramItems = {};
  diagram::RemoveDiagramItems(ScrollBox1->Scene());
}

TDiagramBoxPlace TDiagramPage::Box(std::size_t index) const {
  const diagram::TShapeWithDoubleClicks* box = FBoxes.at(index);
  return {box->Tag(), box->Row(), box->Column()};
}

void TDiagramPage::HideBox(std::size_t index) {
  FBoxes.at(index)->hide();
  FDiagramItems.SomeHidden = true;
  UpdateSelectionMark();
}

void TDiagramPage::ShowAllShapes() {
  const QList<QGraphicsItem*> items = ScrollBox1->Scene().items();
  for (QGraphicsItem* item : items)
    if (diagram::IsDiagramItem(item)) item->show();
  UpdateSelectionMark();
}

// ---- the selection -------------------------------------------------------------

diagram::TDiagramHit TDiagramPage::HitAt(QPoint point) const {
  return diagram::DiagramHitAt(ScrollBox1->Scene(), point);
}

int TDiagramPage::ShownBoxAt(const diagram::TDiagramHit& hit) const {
  int box = -1;
  for (std::size_t i = 0; i < FBoxes.size(); ++i) {
    if (FBoxes[i]->Rect() == hit.Rect && FBoxes[i]->Tag() == hit.Tag && FBoxes[i]->isVisible()) {
      box = static_cast<int>(i);
    }
  }
  return box;
}

int TDiagramPage::Selection() const { return ScrollBox1->Tag(); }

void TDiagramPage::SetSelection(int index) {
  ScrollBox1->SetTag(index);
  UpdateSelectionMark();
}

void TDiagramPage::UpdateSelectionMark() {
  std::vector<QRect> marked;
  const int selection = ScrollBox1->Tag();
  if (selection >= 0 && selection < static_cast<int>(FDiagramPlan.DiagramSentences.size())) {
    const auto collect = [&](const std::vector<diagram::TShapeWithDoubleClicks*>& shapes, bool onRow) {
      for (const diagram::TShapeWithDoubleClicks* shape : shapes) {
        if (shape->Tag() == selection && shape->isVisible() && (!onRow || shape->Row() == FSession.MouseRow))
          marked.push_back(shape->Rect());
      }
    };
    if (!FConnectorPressed) collect(FBoxes, true);
    if (marked.empty()) collect(FConnectors, false);
    if (marked.empty()) collect(FBoxes, false);
  }
  ScrollBox1->SetSelectionMark(std::move(marked));
}

// ---- the in-place editor -----------------------------------------------------

void TDiagramPage::OpenEditor(const TEditorPlacement& placement, std::string_view text,
                              const std::vector<std::string>& choices) {
  ScrollBox1->PlaceChild(ComboBox1, QRect(placement.Left, placement.Top, placement.Width, 21));
  ComboBox1->clear();
  FEditorBytes.clear();
  QStringList items;
  items.reserve(static_cast<qsizetype>(choices.size()));
  for (const std::string& choice : choices) {
    items << diagram::DisplayText(choice);
    FEditorBytes.emplace_back(items.back(), choice);
  }
  ComboBox1->addItems(items);
  // The simple style: no list button while there is nothing to choose.
  ComboBox1->setStyleSheet(
      choices.empty() ? QStringLiteral("QComboBox::drop-down { width: 0px; border: none; }") : QString());
  ComboBox1->setProperty("simpleStyle", choices.empty());
  const QString shown = diagram::DisplayText(text);
  FEditorBytes.emplace_back(shown, std::string(text));
  ComboBox1->setCurrentIndex(-1);
  ComboBox1->setEditText(shown);
  ComboBox1->show();
  ComboBox1->raise();
  ComboBox1->setFocus();
  // An editor below the last row must be reachable by scrolling.
  ScrollBox1->UpdateExtent();
}

void TDiagramPage::HideEditor() {
  ComboBox1->hide();
  ScrollBox1->UpdateExtent();
}

std::string TDiagramPage::EditorBytes() const {
  // What is shown goes back to the bytes it came from; new text is UTF-8,
  // which shows as itself.
  const QString shown = ComboBox1->currentText();
  const auto known = std::find_if(FEditorBytes.begin(), FEditorBytes.end(),
                                  [&](const auto& entry) { return entry.first == shown; });
  if (known != FEditorBytes.end()) return known->second;
  const QByteArray utf8 = shown.toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

void TDiagramPage::SetEditorWidth(int width) {
  QRect geometry = ScrollBox1->ChildGeometry(ComboBox1);
  geometry.setWidth(width);
  ScrollBox1->PlaceChild(ComboBox1, geometry);
}

int TDiagramPage::ContainerWidth() const { return ScrollBox1->width(); }

}  // namespace ostrel
