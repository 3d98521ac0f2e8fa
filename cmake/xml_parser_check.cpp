// Built at configure time against the XML parser found: it must be the compact build, and the
// converter must see it as one (the header then declares the document's moves differently).
#include <pugixml.hpp>

#ifndef PUGIXML_COMPACT
#error "the XML parser is not built in its compact mode"
#endif

int main()
{
    pugi::xml_document document;
    return document.load_string("<Project/>") ? 0 : 1;
}
