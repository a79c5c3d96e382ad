#pragma once

class IG_Page;

// A layer of page content. A page's original content is its first layer; further
// layers are added by NewLayer and receive embedded annotation appearances.
class IG_Layer {
public:
    virtual ~IG_Layer() = default;
    virtual IG_Page* Page() const = 0;
    virtual int Index() const = 0;
    virtual int ObjectCount() const = 0; // objects added to this layer in this session
};
