// Feeds arbitrary bytes to the RPC server's request handling the way one client connection
// hands it over: the input is cut into lines at "\n", blank lines skipped, and each line is
// answered by RpcWorker::Answer (request parser, method lookup, parameter objects, reply
// encoding) with a method that reads the stamp maker's keys and answers with them.
// Besides "no crash", it checks what clients rely on: every answer is one reply line within
// the limit that our own client parses, and a request that parses is encoded back to a
// line that parses to the same request.
#include "host/rpc/iservermethod.h"
#include "host/rpc/rpcwire.h"
#include "host/rpc/rpcworker.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

class EchoMethod : public IServerMethod
{
public:
    void HandleRequest(const char* /*method*/, IRPCParams* request, IRPCParams* reply) override
    {
        for (const char* key : {"RequesType", "ImagePath", "ImageWidth", "ImageHeight", "Port"})
            reply->AddString(request->GetMap(key)->GetString());
        reply->AddString(request->GetMap(nullptr)->GetString());
    }
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckLine(const QByteArray& line)
{
    RpcWire::Request request;
    QString error;
    if (RpcWire::ParseRequest(line, &request, &error)) {
        const QByteArray again = RpcWire::EncodeRequest(request);
        RpcWire::Request reparsed;
        // Escapes may make the encoded line longer than the limit; then there is nothing to
        // compare.
        if (!again.isEmpty()) {
            Check(RpcWire::ParseRequest(again.chopped(1), &reparsed, &error));
            Check(reparsed.method == request.method && reparsed.params == request.params);
        }
    } else {
        Check(!error.isEmpty());
    }

    static RpcWorker* worker = [] {
        auto* made = new RpcWorker;
        static EchoMethod method;
        made->SetMethod("stampannotserver", &method);
        return made;
    }();
    const QByteArray answer = worker->Answer(line);
    Check(answer.endsWith('\n') && answer.count('\n') == 1);
    Check(answer.size() - 1 <= RpcWire::kMaxLineBytes);
    RpcWire::Reply reply;
    Check(RpcWire::ParseReply(answer.chopped(1), &reply, &error));

    // The client parses what a server sends; any line may come from a stranger's server.
    RpcWire::ParseReply(line, &reply, &error);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    for (const QByteArray& line : bytes.split('\n')) {
        if (!line.trimmed().isEmpty() && line.size() <= RpcWire::kMaxLineBytes)
            CheckLine(line);
    }
    return 0;
}
