#pragma once
// Annotation and page-object kinds of the document model, and their names.

enum G_AnnotType {
    G_AnnotType_Unknown = 0,
    G_AnnotType_Text = 1,
    G_AnnotType_Link = 2,
    G_AnnotType_FreeText = 3,
    G_AnnotType_Line = 4,
    G_AnnotType_Square = 5,
    G_AnnotType_Circle = 6,
    G_AnnotType_Highlight = 7,
    G_AnnotType_Stamp = 8,
    G_AnnotType_Ink = 9,
    G_AnnotType_Watermark = 10,
    G_AnnotType_Widget = 11,
    G_AnnotType_Path = 12,
};

enum G_PageObjType {
    G_PageObjType_Unknown = 0,
    G_PageObjType_Image = 1,
    G_PageObjType_Path = 2,
    G_PageObjType_Text = 3,
    G_PageObjType_Form = 4,
};

// "Stamp" for 8, "Unknown" for values outside the enumeration.
const char* AnnotTypeToString(int type);
// "Image" for 1, "Unknown" for values outside the enumeration.
const char* PageObjTypeToString(int type);
