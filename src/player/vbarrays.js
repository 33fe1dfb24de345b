// VBScript arrays: zero-based JavaScript arrays, nested for each further
// dimension (`Dim a(2, 3)` is three arrays of four elements). Like
// VBScript's, they are values: assigning one copies it.

import { VBError, vbError, vbToNumber } from "./vbvalues.js";

// VBScript's own limit on one dimension is far larger; this keeps a typo
// like `ReDim a(1E9)` from taking the page's memory.
const VB_MAX_ARRAY_ELEMENTS = 1 << 24;

function upperBound(value) {
    const bound = Math.round(vbToNumber(value));
    if (bound < -1) throw vbError("subscript");
    return bound;
}

// A new array with the given upper bounds, every element Empty.
export function makeVBArray(bounds, old = null) {
    const uppers = bounds.map(upperBound);
    const total = uppers.reduce((product, upper) => product * (upper + 1), 1);
    if (total > VB_MAX_ARRAY_ELEMENTS) throw new VBError(7, "Out of memory");
    const build = (level, previous) => {
        const array = new Array(uppers[level] + 1);
        for (let i = 0; i < array.length; ++i) {
            const kept = Array.isArray(previous) && i < previous.length ? previous[i] : undefined;
            array[i] = level + 1 < uppers.length ? build(level + 1, kept) : kept;
        }
        return array;
    };
    return build(0, old);
}

export function copyVBArray(array) {
    return array.map((item) => (Array.isArray(item) ? copyVBArray(item) : item));
}

// The element of `array` at the given subscripts: { holder, index }.
export function vbArraySlot(array, subscripts) {
    let holder = array;
    for (let level = 0; level < subscripts.length; ++level) {
        const index = Math.round(vbToNumber(subscripts[level]));
        if (!Array.isArray(holder) || index < 0 || index >= holder.length) throw vbError("subscript");
        if (level + 1 === subscripts.length) return { holder, index };
        holder = holder[index];
    }
    throw vbError("subscript");
}

export function vbUBound(array, dimension = 1) {
    if (!Array.isArray(array)) throw vbError("typeMismatch", "UBound");
    let level = array;
    for (let d = 1; d < Math.round(vbToNumber(dimension)); ++d) {
        if (!Array.isArray(level[0])) throw vbError("subscript");
        level = level[0];
    }
    return level.length - 1;
}
