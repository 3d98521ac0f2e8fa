// Splitting a Keil define list into defines.
#include "define_list.h"

#include "../node_settings.h"
#include "../text_util.h"

namespace {

bool isListSeparator(char c) { return c == ',' || c == ' ' || c == '\t'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> splitDefineList(std::string_view value)
{
    std::vector<std::string> tokens;
    forEachDefineToken(value, [&](const std::string& token) { tokens.push_back(token); });
    return tokens;
}

void forEachDefineToken(std::string_view value, const std::function<void(const std::string&)>& visit)
{
    std::string token;
    bool quoted = false;
    int depth = 0;
    bool equalsStandsAlone = false;  // blanks stood before the "=" that ends the token

    auto finishToken = [&] {
        if (token.size() >= 2 && token.front() == '"' && token.back() == '"')
            token = token.substr(1, token.size() - 2);
        if (!token.empty())
            visit(token);
        token.clear();
        equalsStandsAlone = false;
    };

    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quoted) {
            token += c;
            quoted = c != '"';
            continue;
        }
        if (depth == 0 && isListSeparator(c)) {
            if (isBlank(c)) {
                // "PORT = UART0" is one define; "EMPTY= NEXT" stays two, so blanks after an
                // "=" join only when blanks also stood before it.
                std::size_t next = i;
                while (next < value.size() && isBlank(value[next]))
                    ++next;
                const bool beforeEquals = next < value.size() && value[next] == '=' && !token.empty();
                const bool afterEquals = equalsStandsAlone && !token.empty() && token.back() == '='
                                         && next < value.size() && !isListSeparator(value[next]);
                if (beforeEquals || afterEquals) {
                    equalsStandsAlone = beforeEquals;
                    i = next - 1;
                    continue;
                }
            }
            finishToken();
            continue;
        }
        token += c;
        if (c == '"')
            quoted = true;
        else if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
    }
    finishToken();
}

void addDefine(NodeSettings& target, const std::string& token)
{
    const std::size_t equals = token.find('=');
    const bool assigned = equals != std::string::npos;
    const std::string name = assigned ? token.substr(0, equals) : token;
    std::string value = assigned ? token.substr(equals + 1) : std::string();
    if (contains(value, "\"")) {
        target.setDefine("HBX_STRINGIFY(x)", "#x", true);
        value = "HBX_STRINGIFY(" + trimChar(value, '"') + ")";
    }
    if (!name.empty())
        target.setDefine(name, value, assigned);
}

void addDefineList(NodeSettings& target, std::string_view value)
{
    forEachDefineToken(value, [&](const std::string& token) { addDefine(target, token); });
}
