#pragma once

class QUndoStack;

// Makes annotation changes final: after ClearStack no undo entry of the stack can bring
// back or remove an annotation, and annotation handlers forget annotations that are no
// longer on a page.
class ClearAnnot
{
public:
    static ClearAnnot* GetInstance();
    void ClearStack(QUndoStack* stack);
};
