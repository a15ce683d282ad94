// Comparing two configurations program code by program code (see ConfigComparison.h).
#include "ConfigComparison.h"

#include "CquillTrakDoc.h"
#include "ProgramCodeTransfer.h"
#include "ValueFormat.h"

namespace {

ConfigComparison::Side SideOf(const CquillTrakDoc& doc, const DBParam& p)
{
    ConfigComparison::Side side;
    side.programmed = p.programmed != 0;
    if (side.programmed)
        side.value = FormatValue(p, doc.Image());
    side.level = doc.GetSecurityLevel(p);
    return side;
}

// The place of a DBParam in its chain.
int IndexOf(const CquillTrakDoc& doc, const DBParam* target)
{
    int i = 0;
    for (const DBParam* p = doc.Sections().Chain(); p; p = p->next, ++i) {
        if (p == target)
            return i;
    }
    return i;
}

} // namespace

std::vector<ConfigComparison::Difference> ConfigComparison::Compare(const CquillTrakDoc& a, const CquillTrakDoc& b,
                                                                    int section, bool includeReadOnly)
{
    int from = 0;
    int to = a.programCodeCount;
    if (section >= 0) {
        const ProgramCodeTransfer::Range range = ProgramCodeTransfer::SelectedRange(a, section);
        from = range.first ? IndexOf(a, range.first) : 0;
        to = range.first ? from + range.size : 0;
    }

    std::vector<Difference> out;
    const DBParam* pa = a.Sections().Chain();
    const DBParam* pb = b.Sections().Chain();
    for (int i = 0; pa && pb && i < to; ++i, pa = pa->next, pb = pb->next) {
        if (i < from || (pa->IsReadOnly() && !includeReadOnly))
            continue;
        Difference d{pa, pa->DisplaySection(), SideOf(a, *pa), SideOf(b, *pb)};
        if (d.a.value != d.b.value || d.a.level != d.b.level)
            out.push_back(std::move(d));
    }
    return out;
}
