// Splits VBScript source into tokens. Keywords and names are both "name"
// tokens; the parser recognises keywords by their lower-case text, since
// VBScript ignores letter case everywhere.

export class VBSyntaxError extends Error {
    constructor(message, line, column) {
        super(`${message} (line ${line}, column ${column})`);
        this.name = "VBSyntaxError";
        this.number = 1002;
        this.description = message;
        this.line = line;
        this.column = column;
    }
}

const VB_TWO_CHAR_OPERATORS = ["<>", "<=", ">="];
const VB_ONE_CHAR_OPERATORS = "+-*/\\^&=<>(),.:";
const VB_CONTINUATION = /_[ \t]*(\r\n|\r|\n)/y;
const VB_HEX_LITERAL = /&[hH]([0-9a-fA-F]+)&?/y;
const VB_OCTAL_LITERAL = /&[oO]([0-7]+)&?/y;
const VB_DECIMAL_LITERAL = /(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?/y;
const VB_NAME = /[A-Za-z_\u0080-\uffff][A-Za-z0-9_\u0080-\uffff]*/y;

// Matches a sticky pattern at pos without copying the rest of the source.
function matchAt(pattern, source, pos) {
    pattern.lastIndex = pos;
    return pattern.exec(source);
}

// Token: { type: "name" | "number" | "string" | "op" | "newline" | "eof",
//          text, value, line, column, spaceBefore }
// spaceBefore tells `Foo (a), b` (an argument list) from `Foo(a)`.
export function lexVBScript(source) {
    const tokens = [];
    let pos = 0;
    let line = 1;
    let lineStart = 0;
    let spaceBefore = false;

    const push = (type, text, value, start) => {
        tokens.push({ type, text, value, line, column: start - lineStart + 1, spaceBefore });
        spaceBefore = false;
    };
    const fail = (message, at) => {
        throw new VBSyntaxError(message, line, at - lineStart + 1);
    };
    const newline = (start) => {
        const last = tokens[tokens.length - 1];
        if (last === undefined || last.type !== "newline") push("newline", "\n", null, start);
        line += 1;
        lineStart = pos;
    };

    while (pos < source.length) {
        const c = source[pos];
        const start = pos;
        if (c === " " || c === "\t" || c === "\f" || c === "\v" || c === "\u00a0" || c === "\u3000") {
            pos += 1;
            spaceBefore = true;
        } else if (c === "\r" || c === "\n") {
            pos += c === "\r" && source[pos + 1] === "\n" ? 2 : 1;
            newline(start);
        } else if (c === "'") {
            while (pos < source.length && source[pos] !== "\n" && source[pos] !== "\r") pos += 1;
        } else if (c === "_" && matchAt(VB_CONTINUATION, source, pos) !== null) {
            // Line continuation: the statement goes on on the next line.
            const match = matchAt(VB_CONTINUATION, source, pos);
            pos += match[0].length;
            line += 1;
            lineStart = pos;
            spaceBefore = true;
        } else if (c === '"') {
            let text = "";
            pos += 1;
            for (;;) {
                if (pos >= source.length || source[pos] === "\n" || source[pos] === "\r") {
                    fail("Unterminated string constant", start);
                }
                if (source[pos] === '"') {
                    if (source[pos + 1] === '"') {
                        text += '"';
                        pos += 2;
                        continue;
                    }
                    pos += 1;
                    break;
                }
                text += source[pos];
                pos += 1;
            }
            push("string", source.slice(start, pos), text, start);
        } else if (c === "&" && /[hHoO]/.test(source[pos + 1] || "")) {
            const hex = /[hH]/.test(source[pos + 1]);
            const match = matchAt(hex ? VB_HEX_LITERAL : VB_OCTAL_LITERAL, source, pos);
            if (match === null) fail("Expected hexadecimal or octal digits", start);
            pos += match[0].length;
            let value = parseInt(match[1], hex ? 16 : 8);
            // A literal that fits 16 bits is an Integer (&HFFFF is -1), one that
            // fits 32 bits a Long, exactly as VBScript reads them.
            const long = match[0].endsWith("&") || value > 0xffff;
            if (!long && value > 0x7fff) value -= 0x10000;
            else if (long && value > 0x7fffffff && value <= 0xffffffff) value -= 0x100000000;
            push("number", match[0], value, start);
        } else if (/[0-9]/.test(c) || (c === "." && /[0-9]/.test(source[pos + 1] || ""))) {
            const match = matchAt(VB_DECIMAL_LITERAL, source, pos);
            pos += match[0].length;
            push("number", match[0], Number(match[0]), start);
        } else if (/[A-Za-z_\u0080-\uffff]/.test(c)) {
            const match = matchAt(VB_NAME, source, pos);
            pos += match[0].length;
            const lower = match[0].toLowerCase();
            if (lower === "rem" && !(tokens.length && tokens[tokens.length - 1].text === ".")) {
                while (pos < source.length && source[pos] !== "\n" && source[pos] !== "\r") pos += 1;
                continue;
            }
            push("name", match[0], lower, start);
        } else if (c === "[") {
            const end = source.indexOf("]", pos);
            if (end < 0) fail("Expected ']'", start);
            const name = source.slice(pos + 1, end);
            pos = end + 1;
            push("name", name, name.toLowerCase(), start);
        } else {
            const two = source.slice(pos, pos + 2);
            if (VB_TWO_CHAR_OPERATORS.includes(two)) {
                pos += 2;
                push("op", two, two, start);
            } else if (VB_ONE_CHAR_OPERATORS.includes(c)) {
                pos += 1;
                push("op", c, c, start);
            } else {
                fail(`Invalid character '${c}'`, start);
            }
        }
    }
    const last = tokens[tokens.length - 1];
    if (last === undefined || last.type !== "newline") push("newline", "\n", null, pos);
    push("eof", "", null, pos);
    return tokens;
}
