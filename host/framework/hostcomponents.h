#pragma once
// The reader's own operations and tools, registered once at start-up before plug-ins
// load: the tools "t_handtool" and "t_textselect" and the operations "v_zoom",
// "d_delannot", "d_digitalsignature", "d_applysignature", "t_showannot",
// "t_toolbarbtnstate" and "batchaddinvoice", and the interceptor that asks before a stamp
// is embedded into a signed document (SignedEmbedGuard). They live until the process ends.

class HostComponents
{
public:
    static void RegisterAll(); // later calls do nothing
};
