// The parse anchor for `orvo check`: pugixml's DOM parse of the same markup,
// read as XML, and a walk over every node. It prints the element and
// attribute counts, the text bytes and a hash of every name and value, so
// that the walk cannot be optimised away.
//
//     pugixml_walk FILE.xml
#include <pugixml.hpp>

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

class Fnv1a {
public:
    void add(std::string_view s)
    {
        for (const char c : s) {
            m_hash = (m_hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    }
    std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 14695981039346656037ULL;
};

// The next node in document order, without recursion.
pugi::xml_node nextInPreOrder(pugi::xml_node node)
{
    if (node.first_child()) {
        return node.first_child();
    }
    while (node && !node.next_sibling()) {
        node = node.parent();
    }
    return node ? node.next_sibling() : pugi::xml_node();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pugixml_walk FILE.xml\n");
        return 2;
    }
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(argv[1]);
    if (!parsed) {
        std::fprintf(stderr, "pugixml_walk: %s: %s at byte %td\n", argv[1], parsed.description(),
                     parsed.offset);
        return 1;
    }
    std::uint64_t elements = 0;
    std::uint64_t attributes = 0;
    std::uint64_t textBytes = 0;
    Fnv1a hash;
    for (pugi::xml_node node = document.first_child(); node; node = nextInPreOrder(node)) {
        if (node.type() == pugi::node_element) {
            ++elements;
            hash.add(node.name());
            for (const pugi::xml_attribute a : node.attributes()) {
                ++attributes;
                hash.add(a.name());
                hash.add(a.value());
            }
        } else if (node.type() == pugi::node_pcdata) {
            const std::string_view text = node.value();
            textBytes += text.size();
            hash.add(text);
        }
    }
    std::printf(
        "elements %llu attributes %llu text_bytes %llu hash %016llx\n",
        static_cast<unsigned long long>(elements), static_cast<unsigned long long>(attributes),
        static_cast<unsigned long long>(textBytes), static_cast<unsigned long long>(hash.value()));
    return 0;
}
