// The pieces of the interpretation search shared by its files and by the
// tests and benchmarks that compare methods; not the unit's interface.
#pragma once

#include <cstddef>
#include <cstdint>

#include "KarvelTheory.h"

namespace karvel::detail {

//! When the small clause-learning solver hands the search over to the
//! library solver: once its conflicts exceed HandOverConflicts plus
//! ConflictsPerModel for each model it found. HandOverConflicts 0 starts
//! with the library solver.
struct TSearchTuning {
  std::uint64_t HandOverConflicts = 500;
  std::uint64_t ConflictsPerModel = 100;
  //! Words of 64 choices one run holds at most before the search is split
  //! on the next undecided assumption: 8 MiB.
  std::size_t RowsPerRun = std::size_t{1} << 20;
};

//! The interpretations in the order of the plain enumeration, one at a time,
//! found by clause learning over an exact encoding of the closure.
TSearchOutcome SearchInterpretations(TKarvelTheory& theory, const TInterpretationVisitor& visit,
                                     const TSearchProgress& progress, const TSearchTuning& tuning = {});

//! The summary of the interpretations: the library solver answers, for the
//! text of every assumption and issue and for its negation, whether some
//! interpretation's closure holds it and whether some lacks it, each model
//! answering every question it can (see TKarvelTheory::Summarize).
TSearchOutcome SummarizeInterpretations(TKarvelTheory& theory, TTheorySummary& summary,
                                        const TSearchProgress& progress);

//! Whether a candidate (grounded first, then the chosen undecided
//! assumptions in theory order) is an interpretation, by the closure itself.
bool IsInterpretation(const TListOfKarvelSentences& assumptions, const TListOfKarvelSentences& candidate);

//! The plain enumeration of every subset of the undecided assumptions.
TSearchOutcome EnumerateInterpretations(TKarvelTheory& theory, const TInterpretationVisitor& visit,
                                        const TSearchProgress& progress);

}  // namespace karvel::detail
