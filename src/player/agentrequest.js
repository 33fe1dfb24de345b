// The request objects that a character's methods return, and their states.

export const REQUEST_COMPLETE = 0;
export const REQUEST_FAILED = 1;
export const REQUEST_PENDING = 2;
export const REQUEST_INTERRUPTED = 3;
export const REQUEST_IN_PROGRESS = 4;

export class AgentRequest {
    constructor(id, status = REQUEST_PENDING) {
        this._id = id;
        this._status = status;
        this._description = "";
        this._number = 0;
    }

    get ID() {
        return this._id;
    }

    get Status() {
        return this._status;
    }

    get Description() {
        return this._description;
    }

    get Number() {
        return this._number;
    }
}
