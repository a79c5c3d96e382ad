#pragma once
// The reader's own operations and tools, registered once at start-up before plug-ins
// load: the tools "t_handtool" and "t_textselect" and the operations "v_zoom",
// "d_delannot", "d_digitalsignature", "d_applysignature", "t_showannot",
// "t_toolbarbtnstate" and "batchaddinvoice". The prototypes live until the process ends.

class HostComponents
{
public:
    static void RegisterAll(); // later calls do nothing
};
