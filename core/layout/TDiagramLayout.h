// The layout of the argument diagram: which sentences become roots, how each
// argument tree is walked on the grid, how repetitions are cut, and the pixel
// geometry of every control. Knows no toolkit; it talks to a TDiagramSink.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "DiagramOptions.h"
#include "KarvelUnit.h"
#include "TDiagramControl.h"
#include "TDiagramMetrics.h"
#include "TDiagramSink.h"
#include "TheoryDocument.h"

namespace ostrel::diagram {

//! Role of a node in the walk of an argument tree.
enum class TDiagramNodeKind : std::uint8_t {
  nkSentence,
  nkSupportOfSentence,
  nkAttackOfSentence,
  nkSupportOfDropRule,
  nkAttackOfDropRule,
  nkSupportOfBranchRule,
  nkAttackOfBranchRule,
};

class TDiagramLayout final {
 public:
  //! Drawn nodes (boxes and rule connectors) after which further sentences
  //! are drawn unexpanded with the "..." mark. Expanding every occurrence in
  //! full grows exponentially on layered shared reasons; real arguments stay
  //! far below this, and this many nodes still draw in well under a second.
  static constexpr std::size_t kDefaultElementBound = 50000;
  //! Nesting of expanded nodes after which sentences are drawn unexpanded,
  //! so a very long chain of reasons cannot exhaust the stack.
  static constexpr int kMaxDepth = 4000;

  TDiagramLayout(TDiagramSink& sink, const karvel::TKarvelTheory& theory, const TDiagramOptions& options,
                 const TDiagramMetrics& metrics = {}, std::size_t elementBound = kDefaultElementBound);
  TDiagramLayout(const TDiagramLayout&) = delete;
  TDiagramLayout& operator=(const TDiagramLayout&) = delete;

  //! Lays out every argument tree of sentences from firstRow down. drawn is
  //! cleared (not replaced) and refilled with every distinct sentence drawn,
  //! in the order first drawn. Neither the sentences nor the theory change:
  //! RegisterDrawnSentences marks what the drawing shows. Returns the first
  //! row below.
  int DrawDiagram(const karvel::TListOfKarvelSentences& sentences, int firstRow, int column,
                  karvel::TListOfKarvelSentences& drawn);

  //! Boxes and rule connectors drawn by the last build.
  [[nodiscard]] std::size_t DrawnNodes() const { return FNodes; }
  //! Sentences the last build drew unexpanded because of a bound.
  [[nodiscard]] std::size_t CutNodes() const { return FCut; }

 private:
  // Per-build facts about one distinct text.
  struct TTextInfo {
    karvel::TKarvelSentence* FirstEntry = nullptr;  // first of the sentences with this text
    karvel::TKarvelSentence* Assumption = nullptr;  // first theory assumption with it
    karvel::TKarvelSentence* Issue = nullptr;       // first theory issue with it
    int SupportersBegin = 0, SupportersEnd = 0;     // into FRules
    int AttackersBegin = 0, AttackersEnd = 0;
    int DrawnIndex = -1;  // index in the drawn list
    bool OnPath = false;
    bool ConcludedByDrawnRule = false;
  };
  struct TRuleRef {
    karvel::TKarvelConditional* Rule;
    int TextId;
    int Data;  // into FRuleData
  };
  // Text ids of a conditional's parts, so walking a rule hashes no text.
  struct TRuleData {
    int ConsequentId;
    int AntecedentsBegin, AntecedentsEnd;  // into FAntecedentIds
  };
  enum class TConjunctSource : std::uint8_t { Unchanged, Pool, Assumptions };

  void BuildIndex(const karvel::TListOfKarvelSentences& sentences);
  int Intern(std::string_view text);
  [[nodiscard]] bool InPool(int id, int poolOwner) const;
  [[nodiscard]] int CountRules(int begin, int end) const;
  karvel::TKarvelSentence* Replaced(karvel::TKarvelSentence* antecedent, int id, TConjunctSource source,
                                    int poolOwner);

  int LayOutSentence(karvel::TKarvelSentence* node, int id, int row, int column);
  void LayOutDropRule(const TRuleRef& rule, TDiagramNodeKind kind, int row, int column, int& rows,
                      int& nextRow, int& nextColumn);
  int LayOutBranchRule(const TRuleRef& rule, TDiagramNodeKind kind, int row, int column);
  void LayOutConjuncts(const TRuleRef& rule, TConjunctSource source, int poolOwner, int nextRow,
                       int nextColumn, int& rows);
  //! consequentId: the text id of a conditional's consequent, -1 to look it up.
  void Register(karvel::TKarvelSentence* node, int id, int consequentId = -1);
  //! The status image of a box: 0 assumption, 1 issue, -1 none.
  [[nodiscard]] int ImageIndexOf(const karvel::TKarvelSentence* sentence, int id) const;

  void DrawSentenceBox(karvel::TKarvelSentence* sentence, int id, int minColumns, int row, int column);
  void DrawRepetitionMark(int row, int column);
  void DrawConnector(const TRuleRef& rule, bool withMarker, TConnectorKind kind, int fromRow, int fromColumn,
                     int toRow, int toColumn);
  [[nodiscard]] TStatusLook LookOf(const karvel::TKarvelSentence* sentence) const;

  TDiagramSink& FSink;
  const karvel::TKarvelTheory& FTheory;
  TDiagramOptions FOptions;
  TDiagramMetrics FMetrics;
  std::size_t FElementBound;

  // Valid during one build.
  karvel::TListOfKarvelSentences* FDrawn = nullptr;
  std::unordered_map<std::string_view, int> FIds;
  std::vector<TTextInfo> FInfo;
  std::vector<TRuleRef> FRules;
  std::vector<TRuleData> FRuleData;
  std::vector<int> FAntecedentIds;
  std::vector<int> FEntryIds;  // text id of each sentence of the build
  std::size_t FNodes = 0;
  std::size_t FCut = 0;
  int FDepth = 0;
};

}  // namespace ostrel::diagram
