// The DBParam chain of a configuration document and the first DBParam of each of the 18
// sections. Built once, at document construction, from the static table; the objects keep
// stable addresses for the document's life.
#pragma once

#include "DBParam.h"
#include "Section.h"

#include <array>
#include <deque>
#include <vector>

class SectionLists {
public:
    SectionLists();
    SectionLists(const SectionLists&) = delete;
    SectionLists& operator=(const SectionLists&) = delete;

    // The first DBParam of the chain (section order), nullptr when empty.
    DBParam* Chain() const { return m_params.empty() ? nullptr : const_cast<DBParam*>(&m_params.front()); }
    // The first DBParam of a section, nullptr for an empty section or a number out of range.
    DBParam* First(int section) const;
    // The DBParams of one section in position order.
    std::vector<DBParam*> SectionParams(int section) const;
    // The DBParam of a program code number in a section, nullptr when the section has none.
    DBParam* Find(int section, int number) const;
    int Count() const { return static_cast<int>(m_params.size()); }
    void ClearProgrammed();

private:
    void Build();

    std::deque<DBParam> m_params;
    std::array<DBParam*, kSectionCount> m_first{};
};
