#include "hostrpc.h"

#include "rpcserver.h"

IServer* CreateServer()
{
    return new RpcServer;
}

void DestroyServer(IServer* server)
{
    delete server;
}
