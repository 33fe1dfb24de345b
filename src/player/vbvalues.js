// Values of the translated VBScript and the operations on them.
//
// Empty is JavaScript undefined, Null is null, Nothing is the frozen object
// VB_NOTHING; numbers, strings and booleans are themselves (VBScript's True is
// -1 in arithmetic); a date is a JavaScript Date, an array a JavaScript array
// (of arrays, for more dimensions). Objects are host objects: the Agent control, its
// characters and requests, the window's location.

export const VB_NOTHING = Object.freeze({ toString: () => "Nothing" });

// Host objects name their default member (what `obj(args)` calls) with this key.
export const VB_DEFAULT = Symbol.for("orvo.vbDefaultMember");

// A runtime error as VBScript raises it, with its number and text.
export class VBError extends Error {
    constructor(number, description) {
        super(description);
        this.name = "VBError";
        this.number = number;
        this.description = description;
    }
}

const VB_ERRORS = {
    divisionByZero: [11, "Division by zero"],
    typeMismatch: [13, "Type mismatch"],
    objectRequired: [424, "Object required"],
    noSuchMember: [438, "Object doesn't support this property or method"],
    wrongArguments: [450, "Wrong number of arguments or invalid property assignment"],
    invalidNull: [94, "Invalid use of Null"],
    subscript: [9, "Subscript out of range"],
    undefinedVariable: [500, "Variable is undefined"],
    notCollection: [451, "Object not a collection"],
};

export function vbError(kind, detail) {
    const [number, text] = VB_ERRORS[kind];
    return new VBError(number, detail === undefined ? text : `${text}: '${detail}'`);
}

export function isVBObject(value) {
    if (value instanceof Date || Array.isArray(value)) return false;
    return value === VB_NOTHING || (value !== null && (typeof value === "object" || typeof value === "function"));
}

// VBScript dates count days from 30 December 1899 (local time).
const VB_DATE_ORIGIN_MS = Date.UTC(1899, 11, 30);

export function vbDateToNumber(date) {
    const localMs = date.getTime() - date.getTimezoneOffset() * 60000;
    return (localMs - VB_DATE_ORIGIN_MS) / 86400000;
}

function vbDateToString(date) {
    const pad = (n) => String(n).padStart(2, "0");
    const day = `${date.getMonth() + 1}/${date.getDate()}/${date.getFullYear()}`;
    const hours = date.getHours() % 12 === 0 ? 12 : date.getHours() % 12;
    const time = `${hours}:${pad(date.getMinutes())}:${pad(date.getSeconds())} ${date.getHours() < 12 ? "AM" : "PM"}`;
    if (date.getHours() === 0 && date.getMinutes() === 0 && date.getSeconds() === 0) return day;
    return `${day} ${time}`;
}

export function vbTypeName(value) {
    if (value === undefined) return "Empty";
    if (value === null) return "Null";
    if (value === VB_NOTHING) return "Nothing";
    if (typeof value === "boolean") return "Boolean";
    if (typeof value === "number") return Number.isInteger(value) ? "Long" : "Double";
    if (typeof value === "string") return "String";
    if (value instanceof Date) return "Date";
    if (Array.isArray(value)) return "Variant()";
    return "Object";
}

// Text of a value where VBScript needs a string (concatenation, CStr).
export function vbToString(value) {
    if (value === undefined) return "";
    if (value === null) throw vbError("invalidNull");
    if (typeof value === "boolean") return value ? "True" : "False";
    if (typeof value === "number") return String(value);
    if (typeof value === "string") return value;
    if (value instanceof Date) return vbDateToString(value);
    throw vbError("typeMismatch");
}

export function parseVBNumber(text) {
    const trimmed = text.trim();
    if (/^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(trimmed)) return Number(trimmed);
    if (/^&[hH][0-9a-fA-F]+$/.test(trimmed)) return parseInt(trimmed.slice(2), 16);
    return NaN;
}

// Number of a value where VBScript needs one (arithmetic, MoveTo's pixels).
export function vbToNumber(value) {
    if (value === undefined) return 0;
    if (value === null) throw vbError("invalidNull");
    if (typeof value === "boolean") return value ? -1 : 0;
    if (typeof value === "number") return value;
    if (typeof value === "string") {
        const lower = value.trim().toLowerCase();
        if (lower === "true") return -1;
        if (lower === "false") return 0;
        const number = parseVBNumber(value);
        if (!Number.isNaN(number)) return number;
    }
    if (value instanceof Date) return vbDateToNumber(value);
    throw vbError("typeMismatch");
}

// Truth of an If or a Not; Null counts as false as in VBScript's If.
export function vbToBoolean(value) {
    if (value === undefined || value === null) return false;
    if (typeof value === "boolean") return value;
    if (typeof value === "number") return value !== 0;
    if (typeof value === "string") return vbToNumber(value) !== 0;
    throw vbError("typeMismatch");
}

function vbIsNumeric(value) {
    return typeof value === "number" || typeof value === "boolean" || value === undefined || value instanceof Date;
}

// Three-way comparison used by =, <>, <, >, <=, >= and Select Case: objects
// compare by identity (a request object equals only itself), numbers
// numerically, strings by their code units, mixed kinds numerically when the
// text is a number and as text otherwise. Returns null when Null is involved,
// NaN for objects that are not the same.
function vbCompare(left, right) {
    if (left === null || right === null) return null;
    if (isVBObject(left) || isVBObject(right)) return left === right ? 0 : NaN;
    if (vbIsNumeric(left) && vbIsNumeric(right)) {
        const a = vbToNumber(left);
        const b = vbToNumber(right);
        return a < b ? -1 : a > b ? 1 : 0;
    }
    if (typeof left === "string" && typeof right === "string") {
        return left < right ? -1 : left > right ? 1 : 0;
    }
    const text = typeof left === "string" ? left : right;
    const number = parseVBNumber(text);
    if (!Number.isNaN(number)) {
        const a = vbToNumber(left);
        const b = vbToNumber(right);
        return a < b ? -1 : a > b ? 1 : 0;
    }
    const a = vbToString(left);
    const b = vbToString(right);
    return a < b ? -1 : a > b ? 1 : 0;
}

function compareWith(test) {
    return (left, right) => {
        const order = vbCompare(left, right);
        if (order === null) return null;
        if (Number.isNaN(order)) return test === "ne";
        switch (test) {
            case "eq":
                return order === 0;
            case "ne":
                return order !== 0;
            case "lt":
                return order < 0;
            case "gt":
                return order > 0;
            case "le":
                return order <= 0;
            default:
                return order >= 0;
        }
    };
}

function toInteger32(value) {
    return Math.round(vbToNumber(value)) | 0;
}

// Logical operators work bitwise on numbers and logically on booleans.
function logical(bits, bools) {
    return (left, right) => {
        if (left === null || right === null) return null;
        if (typeof left === "boolean" && typeof right === "boolean") return bools(left, right);
        const result = bits(toInteger32(left), toInteger32(right));
        return result;
    };
}

function numeric(op) {
    return (left, right) => {
        if (left === null || right === null) return null;
        return op(vbToNumber(left), vbToNumber(right));
    };
}

export const VB_OPERATORS = {
    "+": (left, right) => {
        if (left === null || right === null) return null;
        if (typeof left === "string" && typeof right === "string") return left + right;
        return vbToNumber(left) + vbToNumber(right);
    },
    "-": numeric((a, b) => a - b),
    "*": numeric((a, b) => a * b),
    "/": numeric((a, b) => {
        if (b === 0) throw vbError("divisionByZero");
        return a / b;
    }),
    "\\": numeric((a, b) => {
        const divisor = Math.round(b);
        if (divisor === 0) throw vbError("divisionByZero");
        return Math.trunc(Math.round(a) / divisor);
    }),
    mod: numeric((a, b) => {
        const divisor = Math.round(b);
        if (divisor === 0) throw vbError("divisionByZero");
        return Math.round(a) % divisor;
    }),
    "^": numeric((a, b) => a ** b),
    "&": (left, right) => {
        if (left === null && right === null) return null;
        return (left === null ? "" : vbToString(left)) + (right === null ? "" : vbToString(right));
    },
    "=": compareWith("eq"),
    "<>": compareWith("ne"),
    "<": compareWith("lt"),
    ">": compareWith("gt"),
    "<=": compareWith("le"),
    ">=": compareWith("ge"),
    is: (left, right) => {
        if (!isVBObject(left) || !isVBObject(right)) throw vbError("objectRequired");
        return left === right;
    },
    and: logical(
        (a, b) => a & b,
        (a, b) => a && b,
    ),
    or: logical(
        (a, b) => a | b,
        (a, b) => a || b,
    ),
    xor: logical(
        (a, b) => a ^ b,
        (a, b) => a !== b,
    ),
    eqv: logical(
        (a, b) => ~(a ^ b),
        (a, b) => a === b,
    ),
    imp: logical(
        (a, b) => ~a | b,
        (a, b) => !a || b,
    ),
};

export const VB_UNARY = {
    "-": (value) => (value === null ? null : -vbToNumber(value)),
    "+": (value) => (value === null ? null : vbToNumber(value)),
    not: (value) => {
        if (value === null) return null;
        if (typeof value === "boolean") return !value;
        return ~toInteger32(value);
    },
};
