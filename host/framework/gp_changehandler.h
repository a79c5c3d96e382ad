#pragma once

#include "g_operation.h"

// An operation that makes the view's tool handler named by its parameter "name" current.
class GP_ChangeHandler : public G_Operation
{
public:
    int DoAction() override;
    // Makes the handler current in the view; false when the view has no such handler.
    virtual bool InitHandler();
};
