#include "Band.h"

Element *Band::findElement(const QString &elementName) const
{
    for (const auto &element : m_elements)
        if (element->name == elementName)
            return element.get();
    return nullptr;
}
