#include "g_annottype.h"

const char* AnnotTypeToString(int type)
{
    static const char* const names[] = {"Unknown",   "Text",      "Link",   "FreeText", "Line",
                                        "Square",    "Circle",    "Highlight", "Stamp", "Ink",
                                        "Watermark", "Widget",    "Path"};
    if (type < 0 || type >= int(sizeof(names) / sizeof(names[0])))
        return "Unknown";
    return names[type];
}

const char* PageObjTypeToString(int type)
{
    static const char* const names[] = {"Unknown", "Image", "Path", "Text", "Form"};
    if (type < 0 || type >= int(sizeof(names) / sizeof(names[0])))
        return "Unknown";
    return names[type];
}
