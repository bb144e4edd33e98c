#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

// A strict reader for well-formed XML without DTDs: elements, attributes in
// quotes, comments, the declaration, character and the five named entities.
// Enough to prove that the level files open in any XML tool.
struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<std::unique_ptr<XmlElement>> children;

    std::vector<const XmlElement*> childrenNamed(const std::string& wanted) const {
        std::vector<const XmlElement*> found;
        for (const auto& child : children) {
            if (child->name == wanted) {
                found.push_back(child.get());
            }
        }
        return found;
    }
};

// The root element, or null with the reason in `error`.
std::unique_ptr<XmlElement> parseXml(const std::string& text, std::string& error);
