// Velmora on WebKitGTK: the one way from a page to the host. It runs in a script world of its
// own and in top-level documents only, where the script message handler "qmt" exists, so pages
// and their frames cannot reach the handler. It forwards nothing until the host has started it
// with the main view's key (a popup, sharing our scripts, is never started), and the host checks
// the key and the document's URI before it runs anything. The shim (webkit-shim.js) hands it
// each message as JSON text.
(function () {
    'use strict';
    var handler = window.webkit.messageHandlers.qmt;
    // The host may start this document's relay before this script runs in it.
    var relay = window.__velmoraRelay = window.__velmoraRelay || {key: null, queue: []};
    relay.start = function (key) {
        relay.key = key;
        var waiting = relay.queue;
        relay.queue = [];
        for (var i = 0; i < waiting.length; i++) handler.postMessage(key + '\n' + waiting[i]);
    };
    window.addEventListener('velmora:post', function (event) {
        if (typeof event.detail !== 'string') return;
        if (relay.key === null) relay.queue.push(event.detail);
        else handler.postMessage(relay.key + '\n' + event.detail);
    }, true);
})();
