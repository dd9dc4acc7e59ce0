// Reads dialog templates (standard and extended) out of resource bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A class or text field: a name, or an ordinal (atom, resource id).
struct NameOrOrdinal {
    bool isOrdinal = false;
    uint16_t ordinal = 0;
    std::u16string name;
};

struct TemplateItem {
    uint32_t helpId = 0, exStyle = 0, style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    int32_t id = 0;  // -1 for "no id"
    NameOrOrdinal windowClass, text;
};

struct DialogTemplate {
    bool extended = false;
    uint32_t helpId = 0, exStyle = 0, style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu, windowClass;
    std::u16string caption;
    uint16_t pointSize = 0, weight = 0;
    uint8_t italic = 0, charset = 0;
    std::u16string typeface;
    std::vector<TemplateItem> items;
};

// Returns false when the bytes run out before the template ends.
bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplate& out);
