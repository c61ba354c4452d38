// Velmora on WebKitGTK, with AllowDebug=1 only: the page's console messages and uncaught errors
// go to the host (script message handler "qmtConsole"), which writes each as one line on its
// standard error, so a packed app can be debugged from a terminal.
(function () {
    'use strict';
    var handlers = window.webkit && window.webkit.messageHandlers;
    var handler = handlers && handlers.qmtConsole;
    if (!handler) return;
    var post = handler.postMessage.bind(handler);

    function text(value) {
        if (typeof value === 'string') return value;
        if (value instanceof Error) return String(value);
        try {
            var json = JSON.stringify(value);
            if (json !== undefined) return json;
        } catch (e) { /* a cycle or a host object: its plain text below */ }
        return String(value);
    }
    // Source and line of the console call: the stack's third frame ("name@url:line:column" or
    // "url:line:column"), after this function and the wrapper.
    function caller() {
        var frame = String(new Error().stack || '').split('\n')[2] || '';
        var match = /^(.*):(\d+):\d+$/.exec(frame.slice(frame.lastIndexOf('@') + 1));
        return match ? {source: match[1], line: Number(match[2])} : {source: location.href, line: 0};
    }
    function send(level, message, source, line) {
        try {
            post({level: level, message: message, source: String(source), line: Number(line) || 0});
        } catch (e) { /* the host is gone */ }
    }
    ['log', 'info', 'warn', 'error', 'debug'].forEach(function (level) {
        var original = console[level];
        console[level] = function () {
            var at = caller();
            send(level, Array.prototype.map.call(arguments, text).join(' '), at.source, at.line);
            return original.apply(console, arguments);
        };
    });
    // Uncaught errors only: failed loads of images and scripts raise plain events, not these.
    window.addEventListener('error', function (event) {
        if (!(event instanceof ErrorEvent)) return;
        send('error', 'Uncaught ' + (event.error !== undefined ? text(event.error) : event.message),
             event.filename || location.href, event.lineno || 0);
    });
    window.addEventListener('unhandledrejection', function (event) {
        send('error', 'Unhandled rejection: ' + text(event.reason), location.href, 0);
    });
})();
