// Parses the tokens of one VBScript block into a syntax tree.
//
// Statements: Dim (arrays too), ReDim [Preserve], Const, Set, assignment
// (to array elements too), calls (with or without parentheses, with or
// without Call), If (block and single-line, ElseIf), Select Case (with Is
// and To), Do ... Loop (While/Until at either end), While ... Wend,
// For ... Next (with Step), For Each, With, On Error Resume Next / GoTo 0,
// Exit Sub / Function / Do / For, Option Explicit; procedures: Sub and
// Function with ByVal / ByRef parameters, with or without "()".
// Expressions: literals, names, members (`.Name` inside With), calls and the
// VBScript operators with their precedence.

import { lexVBScript, VBSyntaxError } from "./vblexer.js";

const VB_STATEMENT_ENDS = new Set(["newline", "eof"]);

// Operator levels from the loosest to the tightest binding.
const VB_BINARY_LEVELS = [
    ["imp"],
    ["eqv"],
    ["xor"],
    ["or"],
    ["and"],
    // "not" sits here as a prefix operator
    ["=", "<>", "<", ">", "<=", ">=", "is"],
    ["&"],
    ["+", "-"],
    ["mod"],
    ["\\"],
    ["*", "/"],
    // unary minus, then "^"
];
const VB_NOT_LEVEL = 5;

const VB_LITERAL_NAMES = new Set(["true", "false", "empty", "null", "nothing"]);

class VBParser {
    constructor(source) {
        this.tokens = lexVBScript(source);
        this.pos = 0;
    }

    peek(offset = 0) {
        return this.tokens[Math.min(this.pos + offset, this.tokens.length - 1)];
    }

    next() {
        const token = this.peek();
        if (token.type !== "eof") this.pos += 1;
        return token;
    }

    fail(message, token = this.peek()) {
        throw new VBSyntaxError(message, token.line, token.column);
    }

    isWord(word, offset = 0) {
        const token = this.peek(offset);
        return token.type === "name" && token.value === word;
    }

    isOp(op, offset = 0) {
        const token = this.peek(offset);
        return token.type === "op" && token.value === op;
    }

    acceptWord(word) {
        if (!this.isWord(word)) return false;
        this.next();
        return true;
    }

    acceptOp(op) {
        if (!this.isOp(op)) return false;
        this.next();
        return true;
    }

    expectWord(word) {
        if (!this.acceptWord(word)) this.fail(`Expected '${word}'`);
    }

    expectOp(op) {
        if (!this.acceptOp(op)) this.fail(`Expected '${op}'`);
    }

    expectName() {
        const token = this.peek();
        if (token.type !== "name") this.fail("Expected identifier");
        this.next();
        return { name: token.text, key: token.value };
    }

    // The end of a statement: a line end, a colon, the end of the block, or
    // (inside a single-line If) the word Else.
    atStatementEnd(inLineIf) {
        const token = this.peek();
        return VB_STATEMENT_ENDS.has(token.type) || this.isOp(":") || (inLineIf && this.isWord("else"));
    }

    skipSeparators() {
        while (this.peek().type === "newline" || this.isOp(":")) this.next();
    }

    endStatement() {
        if (this.isOp(":") || this.peek().type === "newline") {
            this.next();
        } else if (this.peek().type !== "eof") {
            this.fail("Expected end of statement");
        }
    }

    // program := { statement | procedure }
    parseProgram() {
        const program = { body: [], procs: [] };
        for (this.skipSeparators(); this.peek().type !== "eof"; this.skipSeparators()) {
            const visibility = this.isWord("public") || this.isWord("private");
            const procAt = visibility ? 1 : 0;
            if (this.isWord("sub", procAt) || this.isWord("function", procAt)) {
                if (visibility) this.next();
                program.procs.push(this.parseProcedure());
            } else {
                program.body.push(this.parseStatement(false));
                this.endStatement();
            }
        }
        return program;
    }

    parseProcedure() {
        const kind = this.next().value;
        const line = this.peek().line;
        const { name, key } = this.expectName();
        const params = [];
        if (this.acceptOp("(")) {
            while (!this.isOp(")")) {
                let byRef = true;
                if (this.acceptWord("byval")) byRef = false;
                else this.acceptWord("byref");
                const param = this.expectName();
                if (this.acceptOp("(")) this.expectOp(")");
                params.push({ name: param.name, key: param.key, byRef });
                if (!this.acceptOp(",")) break;
            }
            this.expectOp(")");
        }
        this.endStatement();
        const body = this.parseBlock((parser) => parser.isWord("end") && parser.isWord(kind, 1));
        this.expectWord("end");
        this.expectWord(kind);
        this.endStatement();
        return { kind, name, key, params, body, line };
    }

    // Statements up to (not including) the one where isEnd holds.
    parseBlock(isEnd) {
        const body = [];
        for (this.skipSeparators(); !isEnd(this); this.skipSeparators()) {
            if (this.peek().type === "eof") this.fail("Unexpected end of script");
            if (this.isWord("sub") || this.isWord("function")) this.fail("Procedure inside a block");
            body.push(this.parseStatement(false));
            this.endStatement();
        }
        return body;
    }

    parseStatement(inLineIf) {
        const token = this.peek();
        const line = token.line;
        if (this.isOp(".")) return this.parseAssignOrCall(inLineIf);
        if (token.type !== "name") this.fail("Expected statement");
        switch (token.value) {
            case "dim":
            case "public":
            case "private":
                this.next();
                return { k: "dim", names: this.parseDimNames(), line };
            case "const":
                this.next();
                return { k: "const", items: this.parseConstItems(), line };
            case "set": {
                this.next();
                const target = this.parseTarget();
                this.expectOp("=");
                return { k: "assign", set: true, target, value: this.parseExpression(), line };
            }
            case "call": {
                this.next();
                const target = this.parseTarget();
                if (target.k === "index") return { k: "call", target: target.target, args: target.args, line };
                return { k: "call", target, args: [], line };
            }
            case "if":
                return this.parseIf(inLineIf);
            case "select":
                return this.parseSelect();
            case "on":
                return this.parseOnError();
            case "exit": {
                this.next();
                const what = this.next().value;
                if (!["sub", "function", "do", "for"].includes(what)) {
                    this.fail("Expected 'Sub', 'Function', 'Do' or 'For'");
                }
                return { k: "exit", what, line };
            }
            case "redim":
                return this.parseReDim();
            case "do":
                return this.parseDo();
            case "while":
                return this.parseWhile();
            case "for":
                return this.parseFor();
            case "with":
                return this.parseWith();
            case "option":
                this.next();
                this.expectWord("explicit");
                return { k: "option", line };
            case "randomize":
                this.next();
                if (!this.atStatementEnd(inLineIf)) this.parseExpression();
                return { k: "call", target: { k: "name", name: "Randomize", key: "randomize" }, args: [], line };
            default:
                return this.parseAssignOrCall(inLineIf);
        }
    }

    // Names of a Dim, each with its array bounds: null for a plain
    // variable, [] for `a()` (a dynamic array), else one expression per
    // dimension.
    parseDimNames() {
        const names = [];
        do {
            const { name, key } = this.expectName();
            let bounds = null;
            if (this.acceptOp("(")) {
                bounds = this.isOp(")") ? [] : this.parseExpressionList();
                this.expectOp(")");
            }
            names.push({ name, key, bounds });
        } while (this.acceptOp(","));
        return names;
    }

    parseExpressionList() {
        const list = [this.parseExpression()];
        while (this.acceptOp(",")) list.push(this.parseExpression());
        return list;
    }

    parseReDim() {
        const line = this.next().line;
        const preserve = this.acceptWord("preserve");
        const items = [];
        do {
            const { name, key } = this.expectName();
            this.expectOp("(");
            const bounds = this.parseExpressionList();
            this.expectOp(")");
            items.push({ name, key, bounds });
        } while (this.acceptOp(","));
        return { k: "redim", preserve, items, line };
    }

    // While or Until and its condition, where a loop may have one.
    parseLoopCondition() {
        if (this.acceptWord("while")) return { until: false, cond: this.parseExpression() };
        if (this.acceptWord("until")) return { until: true, cond: this.parseExpression() };
        return null;
    }

    parseDo() {
        const line = this.next().line;
        const pre = this.parseLoopCondition();
        const body = this.parseBlock((parser) => parser.isWord("loop"));
        this.expectWord("loop");
        const post = pre === null ? this.parseLoopCondition() : null;
        return { k: "loop", pre, post, body, line };
    }

    parseWhile() {
        const line = this.next().line;
        const pre = { until: false, cond: this.parseExpression() };
        const body = this.parseBlock((parser) => parser.isWord("wend"));
        this.expectWord("wend");
        return { k: "loop", pre, post: null, body, line, wend: true };
    }

    parseFor() {
        const line = this.next().line;
        const isNext = (parser) => parser.isWord("next");
        if (this.acceptWord("each")) {
            const variable = this.expectName();
            this.expectWord("in");
            const collection = this.parseExpression();
            const body = this.parseBlock(isNext);
            this.expectWord("next");
            if (this.peek().type === "name") this.next();
            return { k: "foreach", variable, collection, body, line };
        }
        const variable = this.expectName();
        this.expectOp("=");
        const from = this.parseExpression();
        this.expectWord("to");
        const to = this.parseExpression();
        const step = this.acceptWord("step") ? this.parseExpression() : null;
        const body = this.parseBlock(isNext);
        this.expectWord("next");
        if (this.peek().type === "name") this.next();
        return { k: "for", variable, from, to, step, body, line };
    }

    parseWith() {
        const line = this.next().line;
        const object = this.parseExpression();
        const body = this.parseBlock((parser) => parser.isWord("end") && parser.isWord("with", 1));
        this.expectWord("end");
        this.expectWord("with");
        return { k: "with", object, body, line };
    }

    parseConstItems() {
        const items = [];
        do {
            const { name, key } = this.expectName();
            this.expectOp("=");
            items.push({ name, key, value: this.parseExpression() });
        } while (this.acceptOp(","));
        return items;
    }

    parseOnError() {
        const line = this.next().line;
        this.expectWord("error");
        if (this.acceptWord("resume")) {
            this.expectWord("next");
            return { k: "onerror", resume: true, line };
        }
        this.expectWord("goto");
        const target = this.next();
        if (target.type !== "number" || target.value !== 0) this.fail("Only 'On Error GoTo 0' is supported", target);
        return { k: "onerror", resume: false, line };
    }

    parseIf(inLineIf) {
        const line = this.next().line;
        const cond = this.parseExpression();
        this.expectWord("then");
        if (!VB_STATEMENT_ENDS.has(this.peek().type)) return this.parseLineIf(cond, line);
        if (inLineIf) this.fail("Block If inside a single-line If");
        const branches = [];
        let elseBody = null;
        const isBranchEnd = (parser) =>
            parser.isWord("elseif") || parser.isWord("else") || (parser.isWord("end") && parser.isWord("if", 1));
        branches.push({ cond, body: this.parseBlock(isBranchEnd) });
        for (;;) {
            if (this.acceptWord("elseif")) {
                const elseCond = this.parseExpression();
                this.expectWord("then");
                branches.push({ cond: elseCond, body: this.parseBlock(isBranchEnd) });
            } else if (this.acceptWord("else")) {
                elseBody = this.parseBlock((parser) => parser.isWord("end") && parser.isWord("if", 1));
            } else {
                break;
            }
        }
        this.expectWord("end");
        this.expectWord("if");
        return { k: "if", branches, elseBody, line };
    }

    // If c Then s1 [: s2 ...] [Else s3 [: s4 ...]] on one line.
    parseLineIf(cond, line) {
        const parseLineStatements = () => {
            const body = [];
            for (;;) {
                body.push(this.parseStatement(true));
                if (!this.acceptOp(":")) break;
                if (this.atStatementEnd(true)) break;
            }
            return body;
        };
        const body = parseLineStatements();
        const elseBody = this.acceptWord("else") ? parseLineStatements() : null;
        return { k: "if", branches: [{ cond, body }], elseBody, line };
    }

    parseSelect() {
        const line = this.next().line;
        this.expectWord("case");
        const expr = this.parseExpression();
        this.endStatement();
        this.skipSeparators();
        const cases = [];
        const isCaseEnd = (parser) => parser.isWord("case") || (parser.isWord("end") && parser.isWord("select", 1));
        while (this.acceptWord("case")) {
            let values = null;
            if (!this.acceptWord("else")) {
                values = [this.parseCaseValue()];
                while (this.acceptOp(",")) values.push(this.parseCaseValue());
            }
            if (this.isOp(":")) this.next();
            cases.push({ values, body: this.parseBlock(isCaseEnd) });
        }
        this.expectWord("end");
        this.expectWord("select");
        return { k: "select", expr, cases, line };
    }

    // One test of a Case: a value, `low To high`, or `Is < value`.
    parseCaseValue() {
        if (this.acceptWord("is")) {
            const token = this.next();
            if (token.type !== "op" || !["=", "<>", "<", ">", "<=", ">="].includes(token.value)) {
                this.fail("Expected comparison operator", token);
            }
            return { k: "caseis", op: token.value, e: this.parseExpression() };
        }
        const value = this.parseExpression();
        if (this.acceptWord("to")) return { k: "caserange", low: value, high: this.parseExpression() };
        return value;
    }

    // name { "." name | "(" args ")" }, where a "(" after a blank ends the
    // head of a statement: `Doll.Speak (" x ")` passes one argument.
    parseTarget(statementHead = false) {
        let node;
        if (this.isOp(".")) {
            node = { k: "with" }; // `.Member` inside a With block
        } else {
            const first = this.expectName();
            node = { k: "name", name: first.name, key: first.key };
        }
        for (;;) {
            // `MsgBox .Name` inside With: a blank before the dot starts an argument.
            if (this.isOp(".") && !(statementHead && this.peek().spaceBefore && node.k !== "with")) {
                this.next();
                const member = this.peek();
                if (member.type !== "name") this.fail("Expected identifier");
                this.next();
                node = { k: "member", obj: node, name: member.text, key: member.value };
            } else if (this.isOp("(") && !(statementHead && this.peek().spaceBefore)) {
                this.next();
                node = { k: "index", target: node, args: this.parseArguments() };
            } else {
                return node;
            }
        }
    }

    parseArguments() {
        const args = [];
        if (this.acceptOp(")")) return args;
        do {
            args.push(this.parseExpression());
        } while (this.acceptOp(","));
        this.expectOp(")");
        return args;
    }

    parseAssignOrCall(inLineIf) {
        const line = this.peek().line;
        const head = this.parseTarget(true);
        if (this.acceptOp("=")) {
            return { k: "assign", set: false, target: head, value: this.parseExpression(), line };
        }
        if (this.atStatementEnd(inLineIf)) {
            if (head.k === "index") return { k: "call", target: head.target, args: head.args, line };
            return { k: "call", target: head, args: [], line };
        }
        if (head.k === "index") this.fail("Expected end of statement");
        return { k: "call", target: head, args: this.parseStatementArguments(inLineIf), line };
    }

    // Arguments of a call statement without Call. A parenthesised list that
    // ends the statement is the whole list (`Doll.MoveTo (10, 20)` is read
    // leniently); otherwise each argument is an expression.
    parseStatementArguments(inLineIf) {
        if (this.isOp("(")) {
            const mark = this.pos;
            this.next();
            try {
                const args = this.parseArguments();
                // Parentheses around the arguments pass them by value.
                if (this.atStatementEnd(inLineIf)) return args.map((e) => ({ k: "paren", e }));
            } catch (error) {
                if (!(error instanceof VBSyntaxError)) throw error;
            }
            this.pos = mark;
        }
        const args = [];
        do {
            args.push(this.parseExpression());
        } while (this.acceptOp(","));
        return args;
    }

    parseExpression(level = 0) {
        if (level === VB_NOT_LEVEL && this.isWord("not")) {
            this.next();
            return { k: "un", op: "not", e: this.parseExpression(level) };
        }
        if (level >= VB_BINARY_LEVELS.length) return this.parseUnary();
        let left = this.parseExpression(level + 1);
        for (;;) {
            const token = this.peek();
            const op = token.type === "op" || token.type === "name" ? token.value : null;
            if (op === null || !VB_BINARY_LEVELS[level].includes(op)) return left;
            this.next();
            left = { k: "bin", op, l: left, r: this.parseExpression(level + 1) };
        }
    }

    parseUnary() {
        if (this.isOp("-") || this.isOp("+")) {
            const op = this.next().value;
            return { k: "un", op, e: this.parseUnary() };
        }
        return this.parsePower();
    }

    parsePower() {
        let left = this.parsePrimary();
        while (this.acceptOp("^")) {
            const right =
                this.isOp("-") || this.isOp("+")
                    ? { k: "un", op: this.next().value, e: this.parsePrimary() }
                    : this.parsePrimary();
            left = { k: "bin", op: "^", l: left, r: right };
        }
        return left;
    }

    parsePrimary() {
        const token = this.peek();
        if (token.type === "number") {
            this.next();
            return { k: "num", v: token.value };
        }
        if (token.type === "string") {
            this.next();
            return { k: "str", v: token.value };
        }
        if (this.acceptOp("(")) {
            const inner = this.parseExpression();
            this.expectOp(")");
            return { k: "paren", e: inner };
        }
        if (this.isOp(".")) return this.parseTarget(false);
        if (this.acceptWord("not")) return { k: "un", op: "not", e: this.parseExpression(VB_NOT_LEVEL) };
        if (token.type === "name" && VB_LITERAL_NAMES.has(token.value)) {
            this.next();
            return { k: "lit", v: token.value };
        }
        if (token.type === "name") return this.parseTarget(false);
        return this.fail("Expected expression");
    }
}

export function parseVBScript(source) {
    return new VBParser(source).parseProgram();
}
