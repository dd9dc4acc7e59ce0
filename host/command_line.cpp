#include "host/command_line.h"

const char* NextByte(const char* position) { return position + 1; }

const char* SkipProgramName(const char* commandLine, NextCharFn next) {
    const char* p = commandLine;
    if (*p == '"') {
        p = next(p);
        while (*p != '\0' && *p != '"')
            p = next(p);
        if (*p == '"')
            p = next(p);
    } else {
        // Bytes of 128 and more belong to the name, hence the unsigned test.
        while (static_cast<unsigned char>(*p) > ' ')
            p = next(p);
    }
    while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ')
        p = next(p);
    return p;
}

ModeRequest ParseMode(const char* arguments) {
    for (const char* p = arguments;; ++p) {
        switch (*p) {
            case '\0':
                return {RunMode::Configuration, nullptr};
            case ' ':
            case '-':
            case '/':
                continue;
            case 'c':
            case 'C':
                return {RunMode::ConfigurationOwned, p + 1};
            case 's':
            case 'S':
                return {RunMode::FullScreen, p + 1};
            case 'p':
            case 'P':
            case 'l':
            case 'L':
                return {RunMode::Preview, p + 1};
            case 'a':
            case 'A':
                return {RunMode::ChangePassword, p + 1};
            default:
                return {RunMode::Unrecognised, nullptr};
        }
    }
}

const char* SkipSpaces(const char* text) {
    while (*text == ' ')
        ++text;
    return text;
}

uint32_t ParseWindowNumber(const char* text) {
    uint32_t number = 0;
    // Compared as signed bytes: 128 and more are below '0' and stop the scan.
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        number = number * 10u + static_cast<uint32_t>(*p - '0');
    }
    return number;
}
