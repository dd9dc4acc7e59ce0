#include "dialog_template.h"

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }

    uint16_t Word() { return static_cast<uint16_t>(Bytes(2)); }
    uint32_t Dword() { return Bytes(4); }
    uint8_t Byte() { return static_cast<uint8_t>(Bytes(1)); }

    std::u16string String() {
        std::u16string text;
        for (uint16_t unit = Word(); ok_ && unit != 0; unit = Word())
            text.push_back(static_cast<char16_t>(unit));
        return text;
    }

    NameOrOrdinal NameOrId() {
        NameOrOrdinal value;
        const uint16_t first = Word();
        if (first == 0xFFFF) {
            value.isOrdinal = true;
            value.ordinal = Word();
        } else if (first != 0) {
            value.name.push_back(static_cast<char16_t>(first));
            value.name += String();
        }
        return value;
    }

    void AlignToDword() { position_ = (position_ + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t count) { position_ += count; }

private:
    uint32_t Bytes(int count) {
        if (position_ + static_cast<size_t>(count) > size_) {
            ok_ = false;
            return 0;
        }
        uint32_t value = 0;
        for (int i = count - 1; i >= 0; --i)
            value = (value << 8) | data_[position_ + static_cast<size_t>(i)];
        position_ += static_cast<size_t>(count);
        return value;
    }

    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    bool ok_ = true;
};

constexpr uint32_t kSetFont = 0x40;  // DS_SETFONT

}  // namespace

bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplate& out) {
    Reader in(data, size);
    const uint16_t first = in.Word();
    const uint16_t second = in.Word();
    out.extended = first == 1 && second == 0xFFFF;
    if (out.extended) {
        out.helpId = in.Dword();
        out.exStyle = in.Dword();
        out.style = in.Dword();
    } else {
        out.style = static_cast<uint32_t>(first) | (static_cast<uint32_t>(second) << 16);
        out.exStyle = in.Dword();
    }
    const uint16_t count = in.Word();
    out.x = static_cast<int16_t>(in.Word());
    out.y = static_cast<int16_t>(in.Word());
    out.cx = static_cast<int16_t>(in.Word());
    out.cy = static_cast<int16_t>(in.Word());
    out.menu = in.NameOrId();
    out.windowClass = in.NameOrId();
    out.caption = in.String();
    if (out.style & kSetFont) {
        out.pointSize = in.Word();
        if (out.extended) {
            out.weight = in.Word();
            out.italic = in.Byte();
            out.charset = in.Byte();
        }
        out.typeface = in.String();
    }
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        in.AlignToDword();
        TemplateItem item;
        if (out.extended) {
            item.helpId = in.Dword();
            item.exStyle = in.Dword();
            item.style = in.Dword();
        } else {
            item.style = in.Dword();
            item.exStyle = in.Dword();
        }
        item.x = static_cast<int16_t>(in.Word());
        item.y = static_cast<int16_t>(in.Word());
        item.cx = static_cast<int16_t>(in.Word());
        item.cy = static_cast<int16_t>(in.Word());
        item.id = out.extended ? static_cast<int32_t>(in.Dword()) : static_cast<int16_t>(in.Word());
        item.windowClass = in.NameOrId();
        item.text = in.NameOrId();
        in.Skip(in.Word());  // creation data
        out.items.push_back(item);
    }
    return in.ok();
}
