#include "readerlayer.h"

#include "readerpage.h"

IG_Page* ReaderLayer::Page() const { return m_page; }

int ReaderLayer::Index() const { return m_page->IndexOfLayer(this); }
