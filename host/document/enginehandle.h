#pragma once

class IG_Document;

// What a working handle of the engine stands for: at most one document, owned by the
// handle when the signature service opened it. Handles are checked against the set of
// live ones, so a stale or foreign pointer is refused instead of followed.
class EngineHandle {
public:
    EngineHandle() = default;
    ~EngineHandle() { SetDocument(nullptr, false); }
    EngineHandle(const EngineHandle&) = delete;
    EngineHandle& operator=(const EngineHandle&) = delete;

    IG_Document* Document() const { return m_doc; }
    // Replaces the document; one the handle owned is destroyed.
    void SetDocument(IG_Document* doc, bool owned);

    static void Register(EngineHandle* handle);
    static void Unregister(EngineHandle* handle);
    static EngineHandle* Find(void* handle); // null when not a live handle

private:
    IG_Document* m_doc = nullptr;
    bool m_owned = false;
};
