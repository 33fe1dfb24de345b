// Where things go on the viewport, as pure functions of sizes: the 800x600
// screen of the presentations mapped onto any viewport, the character's
// frame, its balloon (attached to it, never over it, always fully on
// screen, clear of the page's navigation bar where it can be), its command
// buttons, and how a long speech is cut into the balloon's pages.

export const VIRTUAL_WIDTH = 800;
export const VIRTUAL_HEIGHT = 600;
export const STAGE_MARGIN = 8; // px kept free between our boxes and the viewport's edge
export const BALLOON_GAP = 12; // px between the frame and its balloon (room for the tail)

export function clampTo(value, low, high) {
    return high < low ? low : Math.min(high, Math.max(low, value));
}

// The viewport mapping: virtual pixels to CSS pixels. Positions stretch
// with the viewport so that the left and right areas stay at the edges;
// the frame keeps its shape with the smaller of the two scales.
export function viewportMapping(width, height) {
    const sx = width / VIRTUAL_WIDTH;
    const sy = height / VIRTUAL_HEIGHT;
    return { width, height, sx, sy, scale: Math.min(sx, sy) };
}

// Where a frame of `size` px (or { w, h }) goes for the virtual position
// (x, y), kept inside the viewport.
export function placeFrame(mapping, x, y, size) {
    const w = typeof size === "number" ? size : size.w;
    const h = typeof size === "number" ? size : size.h;
    return {
        left: clampTo(x * mapping.sx, 0, mapping.width - w),
        top: clampTo(y * mapping.sy, 0, mapping.height - h),
    };
}

const overlaps = (a, b) => a.left < b.left + b.w && b.left < a.left + a.w && a.top < b.top + b.h && b.top < a.top + a.h;

// Where a balloon of w x h px goes beside a frame ({ left, top }, `size`
// px square or { w, h }): above it, else below it, else beside it, always
// inside the viewport and off the frame; among the places that fit, the
// first that keeps clear of the `avoid` boxes ({ left, top, w, h }: the
// page's navigation bar). Returns { left, top, side }.
export function placeBalloon(mapping, frame, size, w, h, avoid = []) {
    const fw = typeof size === "number" ? size : size.w;
    const fh = typeof size === "number" ? size : size.h;
    const m = STAGE_MARGIN;
    const centredLeft = clampTo(frame.left + fw / 2 - w / 2, m, mapping.width - w - m);
    const centredTop = clampTo(frame.top + fh / 2 - h / 2, m, mapping.height - h - m);
    const candidates = [
        { side: "above", left: centredLeft, top: frame.top - BALLOON_GAP - h },
        { side: "below", left: centredLeft, top: frame.top + fh + BALLOON_GAP },
        { side: "right", left: frame.left + fw + BALLOON_GAP, top: centredTop },
        { side: "left", left: frame.left - BALLOON_GAP - w, top: centredTop },
    ];
    const fits = (place) =>
        place.left >= m && place.top >= m && place.left + w <= mapping.width - m && place.top + h <= mapping.height - m;
    const fitting = candidates.filter(fits);
    const box = (place) => ({ left: place.left, top: place.top, w, h });
    const clear = fitting.find((place) => !avoid.some((area) => overlaps(box(place), area)));
    if (clear !== undefined) return clear;
    if (fitting.length > 0) return fitting[0];
    // No room anywhere (a viewport hardly larger than the frame): the side
    // with the most room, kept on screen.
    const roomAbove = frame.top;
    const roomBelow = mapping.height - frame.top - fh;
    const side = roomAbove >= roomBelow ? "above" : "below";
    const top = side === "above" ? m : mapping.height - h - m;
    return { left: centredLeft, top: clampTo(top, m, mapping.height - h - m), side };
}

// The command buttons go beside the frame, on the side with more room.
export function placeCommands(mapping, frame, size, w, h) {
    const right = frame.left + size + STAGE_MARGIN;
    const left =
        right + w <= mapping.width - STAGE_MARGIN || frame.left < mapping.width - frame.left - size
            ? right
            : frame.left - STAGE_MARGIN - w;
    return {
        left: clampTo(left, STAGE_MARGIN, mapping.width - w - STAGE_MARGIN),
        top: clampTo(frame.top + size / 2 - h / 2, STAGE_MARGIN, mapping.height - h - STAGE_MARGIN),
    };
}

// Full-width characters (CJK, full-width forms) take two columns of a line.
const WIDE =
    /[\u1100-\u115f\u2e80-\u303e\u3041-\u33ff\u3400-\u4dbf\u4e00-\u9fff\uac00-\ud7a3\uf900-\ufaff\uff01-\uff60\uffe0-\uffe6]/;

function columns(text) {
    let n = 0;
    for (const c of text) n += WIDE.test(c) ? 2 : 1;
    return n;
}

// Cuts a speech's shown words into the balloon's pages: lines of at most
// `chars` columns (a longer word gets a line of its own), `lines` lines a
// page. Returns [{ first, end, lines: [[wordIndex ...] ...] }], the words
// of a page being first .. end - 1.
export function pageBalloonWords(words, chars, lines) {
    const pages = [];
    let page = null;
    let line = null;
    let used = 0;
    words.forEach((word, i) => {
        const width = columns(word.text);
        const gap = line !== null && line.length > 0 && word.spaceBefore ? 1 : 0;
        if (line === null || used + gap + width > chars) {
            if (page === null || page.lines.length >= lines) {
                page = { first: i, end: i, lines: [] };
                pages.push(page);
            }
            line = [];
            page.lines.push(line);
            used = 0;
        } else {
            used += gap;
        }
        line.push(i);
        used += width;
        page.end = i + 1;
    });
    return pages;
}
