#include "parser/Entities.h"

#include <array>
#include <cstring>

namespace fetchcore::parser {
namespace {

struct Entity {
    std::string_view name;
    char character;
};

// Every entity starts with '&' and holds no other, and no replacement is part of any
// entity, so one left-to-right pass decodes exactly what the table applied in turn would.
constexpr std::array<Entity, 5> kEntities{{
    {"&gt;", '>'},
    {"&lt;", '<'},
    {"&quot;", '"'},
    {"&#39;", '\''},
    {"&amp;", '&'},
}};

const Entity* EntityAt(std::string_view rest) {
    for (const Entity& entity : kEntities) {
        if (rest.starts_with(entity.name)) return &entity;
    }
    return nullptr;
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const void* hit = std::memchr(text.data() + pos, '&', text.size() - pos);
        const std::size_t amp =
            hit == nullptr ? text.size()
                           : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        decoded.append(text, pos, amp - pos);
        if (amp == text.size()) break;
        if (const Entity* entity = EntityAt(text.substr(amp))) {
            decoded.push_back(entity->character);
            pos = amp + entity->name.size();
        } else {
            decoded.push_back('&');
            pos = amp + 1;
        }
    }
    return decoded;
}

}  // namespace fetchcore::parser
