#pragma once
// The reader's local RPC library: a server that other programs on this computer call over
// TCP on the loopback interface (the wire format is in rpcwire.h), and a client for them
// (rpcclient.h). The interfaces and these two functions are in the global namespace.
//
//   IServer* server = CreateServer();
//   server->RegisterMethod("stampannotserver", method); // method: an IServerMethod
//   if (!server->Listen("13751")) ...                   // port taken: try another
//   ...
//   DestroyServer(server); // before `method` goes away

#include "iserver.h"

// A new server, not yet listening. Its worker thread runs from here on.
IServer* CreateServer();
// Closes the port and every client connection and waits for a running method call to
// return; null is allowed. Not to be called from inside a method of the same server.
void DestroyServer(IServer* server);
