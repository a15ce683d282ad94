// Building the section lists: for each section the program codes whose section code lies in
// its range, sorted by program code number (equal numbers keep table order); the recipe
// section is built four times, once per instance, as sections 14 to 17.
#include "SectionLists.h"

#include "ParamTable.h"

SectionLists::SectionLists()
{
    Build();
}

void SectionLists::Build()
{
    m_params.clear();
    m_first.fill(nullptr);
    DBParam* last = nullptr;

    for (int s = 0; s < 15;) {
        const SectionInfo* info = Section(s);
        std::vector<const ParamDef*> list;
        for (const ParamDef& def : ParamTable::Entries()) {
            if (def.directory > 13)
                continue;
            if (def.directory == 4 && def.index <= 2)
                continue; // the three access codes belong to no section
            if (def.sectionCode < info->low || def.sectionCode > info->high)
                continue;
            const int number = def.ProgramCodeNumber();
            auto it = list.begin();
            while (it != list.end() && (*it)->ProgramCodeNumber() <= number)
                ++it;
            list.insert(it, &def);
        }

        const int instances = (s == 14) ? 4 : 1;
        for (int i = 0; i < instances; ++i) {
            for (size_t k = 0; k < list.size(); ++k) {
                DBParam p;
                p.section = s;
                p.position = static_cast<int32_t>(k);
                p.instance = i;
                p.sectionSize = static_cast<int32_t>(list.size());
                p.def = list[k];
                p.number = list[k]->ProgramCodeNumber();
                p.flags = list[k]->IsReadOnly() ? DBParam::kReadOnlyFlag : 0;
                m_params.push_back(p);
                DBParam* added = &m_params.back();
                if (last)
                    last->next = added;
                last = added;
                if (k == 0)
                    m_first[s + i] = added;
            }
        }
        s += instances;
    }
}

DBParam* SectionLists::First(int section) const
{
    if (section < 0 || section >= kSectionCount)
        return nullptr;
    return m_first[section];
}

std::vector<DBParam*> SectionLists::SectionParams(int section) const
{
    std::vector<DBParam*> result;
    for (DBParam* p = First(section); p; p = p->next) {
        if (p != First(section) && p->position == 0)
            break;
        result.push_back(p);
    }
    return result;
}

DBParam* SectionLists::Find(int section, int number) const
{
    for (DBParam* p : SectionParams(section)) {
        if (p->number == number)
            return p;
    }
    return nullptr;
}

void SectionLists::ClearProgrammed()
{
    for (DBParam& p : m_params)
        p.programmed = 0;
}
