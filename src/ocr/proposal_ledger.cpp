#include "ocr/proposal_ledger.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr int kConfirmingLead = 2;
}

ProposalLedger::Verdict ProposalLedger::record(const MatrixEntry& glyph, const CharBox& box,
                                               const std::string& text, int64_t lineId,
                                               const OcrSettings& settings) {
    size_t k = matcher_.match(glyph, box, seen_, settings);
    if (k == 0) {
        MatrixEntry e = glyph;
        e.text = "?";  // the matcher takes only entries with a text
        if (!seen_.add(e)) return Verdict::Pending;
        votes_.emplace_back();
        k = seen_.size();
    }
    Votes& v = votes_[k - 1];
    if (std::find(v.lines.begin(), v.lines.end(), lineId) == v.lines.end()) {
        v.lines.push_back(lineId);
        ++v.count[text];
    }
    int mine = 0, others = 0;
    for (const auto& [t, n] : v.count) (t == text ? mine : others) += n;
    if (mine - others >= kConfirmingLead) return Verdict::Confirmed;
    return v.count.size() > 1 ? Verdict::Contested : Verdict::Pending;
}

bool ProposalLedger::contested(const MatrixEntry& glyph, const CharBox& box,
                               const OcrSettings& settings) {
    const size_t k = matcher_.match(glyph, box, seen_, settings);
    return k > 0 && votes_[k - 1].count.size() > 1;
}

std::map<std::string, int> ProposalLedger::readings(const MatrixEntry& glyph, const CharBox& box,
                                                    const OcrSettings& settings) {
    const size_t k = matcher_.match(glyph, box, seen_, settings);
    return k > 0 ? votes_[k - 1].count : std::map<std::string, int>();
}

void ProposalLedger::clear() {
    seen_.clear();
    votes_.clear();
}

}  // namespace orvane
