#pragma once

#include "findinfilespage.h"
#include "searchoptions.h"

// The search records every dialog starts from (the last search, the last
// search of files) fresh for one test and put back after it.
class KeptSearchRecords {
public:
    KeptSearchRecords() : m_search(TSearchOptions::Global()), m_files(TFileSearchSettings::Last())
    {
        TSearchOptions::Global() = TSearchOptions();
        TFileSearchSettings::Last() = TFileSearchSettings();
    }
    ~KeptSearchRecords()
    {
        TSearchOptions::Global() = m_search;
        TFileSearchSettings::Last() = m_files;
    }

private:
    TSearchOptions m_search;
    TFileSearchSettings m_files;
};
