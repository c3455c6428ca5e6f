#include "searchoptions.h"

TSearchOptions& TSearchOptions::Global()
{
    static TSearchOptions record;
    return record;
}
