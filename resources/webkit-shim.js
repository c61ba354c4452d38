// Velmora on WebKitGTK: window.chrome.webview as the bridge script expects it, in every frame.
// postMessage(value) hands the value as JSON text to the relay (webkit-relay.js), which only the
// top-level document has: a frame's messages go nowhere. The host delivers a reply by evaluating
// window.chrome.webview.__dispatch(<reply JSON>) in the top-level document, which calls every
// 'message' listener with {data: reply}, as WebView2 does.
(function () {
    'use strict';
    var listeners = [];
    var webview = {
        postMessage: function (value) {
            window.dispatchEvent(new CustomEvent('velmora:post', {detail: JSON.stringify(value)}));
        },
        addEventListener: function (type, listener) {
            // As an EventTarget: one entry per listener, however often it is added.
            if (type !== 'message' || typeof listener !== 'function') return;
            if (listeners.indexOf(listener) < 0) listeners.push(listener);
        },
        removeEventListener: function (type, listener) {
            if (type !== 'message') return;
            var at = listeners.indexOf(listener);
            if (at >= 0) listeners.splice(at, 1);
        },
        __dispatch: function (reply) {
            // The listeners of this moment, so that one removing itself skips no other; one
            // removed before its turn is not called, as an EventTarget does.
            var current = listeners.slice();
            for (var i = 0; i < current.length; i++) {
                if (listeners.indexOf(current[i]) < 0) continue;
                try {
                    current[i].call(webview, {data: reply});
                } catch (error) {
                    // One failing listener must not keep the reply from the others.
                    setTimeout(function () { throw error; }, 0);
                }
            }
        }
    };
    window.chrome = window.chrome || {};
    window.chrome.webview = webview;
})();
