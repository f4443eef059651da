#include "support/SharedValues.h"

QString SharedValues::fieldCaption(int index) const
{
    switch (index) {
    case 1: return FieldCaption1;
    case 2: return FieldCaption2;
    case 3: return FieldCaption3;
    case 4: return FieldCaption4;
    default: return {};
    }
}

SharedValues& Shared()
{
    static SharedValues values;
    return values;
}

void resetSharedValues()
{
    Shared() = SharedValues{};
}
