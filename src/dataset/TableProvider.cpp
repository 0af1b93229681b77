#include "TableProvider.h"

int codeColumn(const FieldDefs &defs)
{
    for (int c = 0; c < defs.size(); ++c)
        if (defs[c].required && defs[c].type == FieldType::Integer)
            return c;
    return -1;
}
