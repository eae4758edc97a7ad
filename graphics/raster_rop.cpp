// Mix modes as truth tables: the binary mode code minus one holds the result for each
// (pen bit, pixel bit) pair at bit 2*P + D; the ternary copy mode's third byte holds the result
// for each (pattern, source, destination) triple at bit 4*P + 2*S + D.
#include "graphics/raster.h"

namespace kv {

uint32_t ApplyRop2(Rop2 rop, uint32_t pen, uint32_t dest) {
    const unsigned table = static_cast<unsigned>(static_cast<int>(rop) - 1) & 0x0Fu;
    uint32_t result = 0;
    if (table & 1u) result |= ~pen & ~dest;
    if (table & 2u) result |= ~pen & dest;
    if (table & 4u) result |= pen & ~dest;
    if (table & 8u) result |= pen & dest;
    return result;
}

RgbQuad ApplyRop2(Rop2 rop, RgbQuad pen, RgbQuad dest) {
    const uint32_t p = static_cast<uint32_t>(pen.blue | (pen.green << 8) | (pen.red << 16));
    const uint32_t d = static_cast<uint32_t>(dest.blue | (dest.green << 8) | (dest.red << 16));
    const uint32_t r = ApplyRop2(rop, p, d);
    return RgbQuad{static_cast<uint8_t>(r), static_cast<uint8_t>(r >> 8), static_cast<uint8_t>(r >> 16), 0};
}

uint32_t ApplyRop3(uint32_t copyMode, uint32_t pattern, uint32_t source, uint32_t dest) {
    const unsigned table = (copyMode >> 16) & 0xFFu;
    uint32_t result = 0;
    for (unsigned index = 0; index < 8; ++index) {
        if (!(table & (1u << index))) continue;
        const uint32_t p = (index & 4u) ? pattern : ~pattern;
        const uint32_t s = (index & 2u) ? source : ~source;
        const uint32_t d = (index & 1u) ? dest : ~dest;
        result |= p & s & d;
    }
    return result;
}

}  // namespace kv
