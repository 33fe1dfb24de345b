// The functions and constants of the VBScript language that page scripts
// use: strings, numbers, conversions, dates, arrays. MsgBox and InputBox
// need the page and live with the page's player.

import { copyVBArray, vbUBound } from "./vbarrays.js";
import {
    isVBObject,
    parseVBNumber,
    VBError,
    vbError,
    vbToBoolean,
    vbToNumber,
    vbToString,
    vbTypeName,
} from "./vbvalues.js";

// VBScript rounds halves to even (CInt(2.5) is 2), as Round does.
function roundHalfEven(value, digits = 0) {
    const factor = 10 ** digits;
    const scaled = value * factor;
    const rounded = Math.abs(scaled % 1) === 0.5 ? 2 * Math.round(scaled / 2) : Math.round(scaled);
    return rounded / factor;
}

const text = (value) => vbToString(value);
const count = (value) => {
    const n = Math.round(vbToNumber(value));
    if (n < 0) throw new VBError(5, "Invalid procedure call or argument");
    return n;
};
const nullable =
    (fn) =>
    (value, ...rest) =>
        value === null ? null : fn(value, ...rest);
const toDate = (value) => {
    if (value instanceof Date) return value;
    if (typeof value === "string") {
        const parsed = new Date(value);
        if (!Number.isNaN(parsed.getTime())) return parsed;
    }
    const days = vbToNumber(value);
    const ms = Date.UTC(1899, 11, 30) + days * 86400000;
    const utc = new Date(ms);
    return new Date(utc.getTime() + utc.getTimezoneOffset() * 60000);
};

function inStr(args, reverse) {
    if (reverse) {
        const [haystack, needle, start] = args;
        const source = text(haystack);
        const from = start === undefined || vbToNumber(start) < 0 ? source.length : vbToNumber(start) - 1;
        return source.lastIndexOf(text(needle), from) + 1;
    }
    const [start, haystack, needle, compare] = typeof args[0] === "number" && args.length >= 3 ? args : [1, ...args];
    let source = text(haystack);
    let find = text(needle);
    if (compare !== undefined && vbToNumber(compare) === 1) {
        source = source.toLowerCase();
        find = find.toLowerCase();
    }
    return source.indexOf(find, Math.max(0, vbToNumber(start) - 1)) + 1;
}

export const VB_FUNCTIONS = {
    // conversions
    cstr: (value) => text(value),
    cint: (value) => roundHalfEven(vbToNumber(value)),
    clng: (value) => roundHalfEven(vbToNumber(value)),
    cbyte: (value) => roundHalfEven(vbToNumber(value)),
    csng: (value) => vbToNumber(value),
    cdbl: (value) => vbToNumber(value),
    cbool: (value) => vbToBoolean(value),
    cdate: (value) => toDate(value),
    int: (value) => Math.floor(vbToNumber(value)),
    fix: (value) => Math.trunc(vbToNumber(value)),
    round: (value, digits) => roundHalfEven(vbToNumber(value), digits === undefined ? 0 : vbToNumber(digits)),
    hex: (value) => (Math.round(vbToNumber(value)) >>> 0).toString(16).toUpperCase(),
    oct: (value) => (Math.round(vbToNumber(value)) >>> 0).toString(8),
    // tests
    isempty: (value) => value === undefined,
    isnull: (value) => value === null,
    isobject: (value) => isVBObject(value),
    isarray: (value) => Array.isArray(value),
    isdate: (value) => value instanceof Date || (typeof value === "string" && !Number.isNaN(Date.parse(value))),
    isnumeric: (value) =>
        typeof value === "number" || (typeof value === "string" && !Number.isNaN(parseVBNumber(value))),
    typename: (value) => vbTypeName(value),
    vartype: (value) =>
        ({ Empty: 0, Null: 1, Long: 3, Double: 5, Date: 7, String: 8, Object: 9, Boolean: 11, Nothing: 9 })[
            vbTypeName(value)
        ] ?? 8204,
    // strings
    len: nullable((value) => text(value).length),
    ucase: nullable((value) => text(value).toUpperCase()),
    lcase: nullable((value) => text(value).toLowerCase()),
    trim: nullable((value) => text(value).replace(/^ +| +$/g, "")),
    ltrim: nullable((value) => text(value).replace(/^ +/, "")),
    rtrim: nullable((value) => text(value).replace(/ +$/, "")),
    left: nullable((value, n) => text(value).slice(0, count(n))),
    right: nullable((value, n) => {
        const source = text(value);
        return source.slice(Math.max(0, source.length - count(n)));
    }),
    mid: nullable((value, start, n) => {
        const source = text(value);
        const from = Math.max(0, vbToNumber(start) - 1);
        return n === undefined ? source.slice(from) : source.slice(from, from + count(n));
    }),
    instr: (...args) => inStr(args, false),
    instrrev: (...args) => inStr(args, true),
    replace: (value, find, replacement) => text(value).split(text(find)).join(text(replacement)),
    space: (n) => " ".repeat(count(n)),
    string: (n, character) => {
        const c = typeof character === "number" ? String.fromCharCode(character) : text(character).charAt(0);
        return c.repeat(count(n));
    },
    strreverse: (value) => [...text(value)].reverse().join(""),
    strcomp: (a, b, compare) => {
        let x = text(a);
        let y = text(b);
        if (compare !== undefined && vbToNumber(compare) === 1) {
            x = x.toLowerCase();
            y = y.toLowerCase();
        }
        return x < y ? -1 : x > y ? 1 : 0;
    },
    chr: (code) => String.fromCharCode(vbToNumber(code)),
    chrw: (code) => String.fromCharCode(vbToNumber(code)),
    asc: (value) => {
        const source = text(value);
        if (source === "") throw new VBError(5, "Invalid procedure call or argument");
        return source.charCodeAt(0);
    },
    ascw: (value) => text(value).charCodeAt(0),
    split: (value, delimiter) => {
        const source = text(value);
        if (source === "") return [];
        return source.split(delimiter === undefined ? " " : text(delimiter));
    },
    join: (array, delimiter) => {
        if (!Array.isArray(array)) throw vbError("typeMismatch", "Join");
        return array.map((item) => text(item)).join(delimiter === undefined ? " " : text(delimiter));
    },
    filter: (array, match, include) => {
        const keep = include === undefined || vbToBoolean(include);
        return array.filter((item) => text(item).includes(text(match)) === keep);
    },
    // numbers
    abs: (value) => Math.abs(vbToNumber(value)),
    sgn: (value) => Math.sign(vbToNumber(value)),
    sqr: (value) => Math.sqrt(vbToNumber(value)),
    exp: (value) => Math.exp(vbToNumber(value)),
    log: (value) => Math.log(vbToNumber(value)),
    sin: (value) => Math.sin(vbToNumber(value)),
    cos: (value) => Math.cos(vbToNumber(value)),
    tan: (value) => Math.tan(vbToNumber(value)),
    atn: (value) => Math.atan(vbToNumber(value)),
    rnd: () => Math.random(),
    randomize: () => undefined,
    // dates
    now: () => new Date(),
    date: () => {
        const now = new Date();
        return new Date(now.getFullYear(), now.getMonth(), now.getDate());
    },
    time: () => new Date(),
    timer: () => {
        const now = new Date();
        return now.getHours() * 3600 + now.getMinutes() * 60 + now.getSeconds() + now.getMilliseconds() / 1000;
    },
    year: (value) => toDate(value).getFullYear(),
    month: (value) => toDate(value).getMonth() + 1,
    day: (value) => toDate(value).getDate(),
    weekday: (value) => toDate(value).getDay() + 1,
    hour: (value) => toDate(value).getHours(),
    minute: (value) => toDate(value).getMinutes(),
    second: (value) => toDate(value).getSeconds(),
    dateserial: (y, m, d) => new Date(vbToNumber(y), vbToNumber(m) - 1, vbToNumber(d)),
    // arrays
    array: (...items) => copyVBArray(items),
    ubound: (array, dimension) => vbUBound(array, dimension === undefined ? 1 : dimension),
    lbound: (array) => {
        if (!Array.isArray(array)) throw vbError("typeMismatch", "LBound");
        return 0;
    },
};

export const VB_CONSTANTS = {
    vbcrlf: "\r\n",
    vbcr: "\r",
    vblf: "\n",
    vbnewline: "\r\n",
    vbtab: "\t",
    vbnullstring: "",
    vbnullchar: "\0",
    vbtrue: -1,
    vbfalse: 0,
    vbbinarycompare: 0,
    vbtextcompare: 1,
    vbokonly: 0,
    vbokcancel: 1,
    vbabortretryignore: 2,
    vbyesnocancel: 3,
    vbyesno: 4,
    vbretrycancel: 5,
    vbcritical: 16,
    vbquestion: 32,
    vbexclamation: 48,
    vbinformation: 64,
    vbok: 1,
    vbcancel: 2,
    vbabort: 3,
    vbretry: 4,
    vbignore: 5,
    vbyes: 6,
    vbno: 7,
    vbobjecterror: -2147221504,
};
