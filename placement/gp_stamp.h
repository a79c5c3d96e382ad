#pragma once

#include "host/framework/gp_changehandler.h"

#include <QCoreApplication>

// Operation "tp_stamp": the one way a stamp gets onto a page. With "auto" set the stamp
// is created at "position" on "pageIndex" with an undo entry, and "annotid"/"pageIndex"
// are written back; otherwise a run-time preview is centred under the pointer and the
// view's stamp tool takes over. Parameters: "stampId", "stampSize", "imgPath",
// "pageIndex", "position", "auto", "subType", "applysign"; output "annotid".
class GP_Stamp : public GP_ChangeHandler
{
    Q_DECLARE_TR_FUNCTIONS(GP_Stamp)
public:
    GP_Stamp();
    G_Operation* Clone() override;
    ~GP_Stamp() override;
    const char* Name() override;
    int AuthorityType() override;
    int DoAction() override;
};
