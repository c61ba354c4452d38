"""The registry operations' cases, one table for both platforms: each row is a call (function ID
and data) and the outcome the page must see: ("ok", result), ("fail", text) or ("none",) for a
call that ends without a reply. Rows run in order; later rows see what earlier ones wrote. All
keys live below one test key, so a run leaves nothing behind once that key is deleted."""

WRITE, READ, VALUE_EXISTS, DELETE_VALUE, KEY_EXISTS, DELETE_KEY = 13001, 13002, 13003, 13004, 13005, 13006

ROOT = "VelmoraE2E"


def registry_table(root=ROOT):
    k = lambda path="": root + ("\\" + path if path else "")  # noqa: E731
    return [
        # writeValue creates the key with its path; readValue gives the text back.
        (WRITE, {"key": k("Software\\Demo"), "name": "Greeting", "value": "hello"}, ("ok", True)),
        (READ, {"key": k("Software\\Demo"), "name": "Greeting"}, ("ok", "hello")),
        # Letter case of key and value names is ignored.
        (READ, {"key": k("SOFTWARE\\demo").upper(), "name": "greeting"}, ("ok", "hello")),
        # Missing value, missing key: empty text.
        (READ, {"key": k("Software\\Demo"), "name": "Nothing"}, ("ok", "")),
        (READ, {"key": k("No\\Such\\Key"), "name": "Greeting"}, ("ok", "")),
        # Without value: empty text; numbers and booleans as their text.
        (WRITE, {"key": k("Types"), "name": "empty"}, ("ok", True)),
        (READ, {"key": k("Types"), "name": "empty"}, ("ok", "")),
        (WRITE, {"key": k("Types"), "name": "number", "value": 42}, ("ok", True)),
        (READ, {"key": k("Types"), "name": "number"}, ("ok", "42")),
        (WRITE, {"key": k("Types"), "name": "float", "value": 1.5}, ("ok", True)),
        (READ, {"key": k("Types"), "name": "float"}, ("ok", "1.5")),
        (WRITE, {"key": k("Types"), "name": "flag", "value": True}, ("ok", True)),
        (READ, {"key": k("Types"), "name": "flag"}, ("ok", "true")),
        (WRITE, {"key": k("Types"), "name": "text", "value": "Grüße \"q\" \\ 😀\r\n"}, ("ok", True)),
        (READ, {"key": k("Types"), "name": "text"}, ("ok", "Grüße \"q\" \\ 😀\r\n")),
        # A leading "\" is dropped; a root name is an ordinary key name; "/" is part of a name.
        (WRITE, {"key": "\\" + k("Lead"), "name": "v", "value": "led"}, ("ok", True)),
        (READ, {"key": k("Lead"), "name": "v"}, ("ok", "led")),
        (WRITE, {"key": k("HKEY_LOCAL_MACHINE\\Software\\Demo"), "name": "v", "value": "hkcu"}, ("ok", True)),
        (KEY_EXISTS, {"key": k("HKEY_LOCAL_MACHINE\\Software")}, ("ok", True)),
        (WRITE, {"key": k("Slash/Name"), "name": "v", "value": "/"}, ("ok", True)),
        (KEY_EXISTS, {"key": k("Slash")}, ("ok", False)),
        (KEY_EXISTS, {"key": k("Slash/Name")}, ("ok", True)),
        # valueExist and deleteValue.
        (VALUE_EXISTS, {"key": k("Software\\Demo"), "name": "GREETING"}, ("ok", True)),
        (VALUE_EXISTS, {"key": k("Software\\Demo"), "name": "Nothing"}, ("ok", False)),
        (VALUE_EXISTS, {"key": k("No\\Such\\Key"), "name": "Greeting"}, ("ok", False)),
        (DELETE_VALUE, {"key": k("No\\Such\\Key"), "name": "Greeting"}, ("ok", False)),
        (DELETE_VALUE, {"key": k("Types"), "name": "Nothing"}, ("ok", False)),
        (DELETE_VALUE, {"key": k("Types"), "name": "EMPTY"}, ("ok", True)),
        (VALUE_EXISTS, {"key": k("Types"), "name": "empty"}, ("ok", False)),
        # deleteKey takes the whole subtree and answers for the key itself.
        (WRITE, {"key": k("Tree\\a\\b\\c"), "name": "v", "value": "deep"}, ("ok", True)),
        (WRITE, {"key": k("Tree\\a"), "name": "v", "value": "mid"}, ("ok", True)),
        (WRITE, {"key": k("Tree\\d"), "name": "v", "value": "side"}, ("ok", True)),
        (DELETE_KEY, {"key": k("tree")}, ("ok", True)),
        (KEY_EXISTS, {"key": k("Tree\\a\\b\\c")}, ("ok", False)),
        (KEY_EXISTS, {"key": k("Tree")}, ("ok", False)),
        (DELETE_KEY, {"key": k("Tree")}, ("ok", False)),
        # The root: it exists and is never deleted.
        (KEY_EXISTS, {"key": "\\"}, ("ok", True)),
        (DELETE_KEY, {"key": "\\"}, ("ok", False)),
        # Argument checks, key first; nothing written before both are there.
        (KEY_EXISTS, {"key": ""}, ("fail", "Missing registry key.")),
        (DELETE_KEY, {}, ("fail", "Missing registry key.")),
        (WRITE, {"name": "v", "value": "x"}, ("fail", "Missing registry key.")),
        (WRITE, {"key": None, "name": None}, ("fail", "Missing registry key.")),
        (READ, {"key": k("Software\\Demo")}, ("fail", "Missing value name.")),
        (WRITE, {"key": k("Unwritten"), "name": "", "value": "x"}, ("fail", "Missing value name.")),
        (KEY_EXISTS, {"key": k("Unwritten")}, ("ok", False)),
        # An object or array where text is expected: no reply.
        (READ, {"key": {"a": 1}, "name": "v"}, ("none",)),
        (WRITE, {"key": k("Types"), "name": ["v"], "value": "x"}, ("none",)),
    ]


def check_outcomes(test, table, outcomes):
    """Each outcome against its row, with the row in the message."""
    test.assertEqual(len(outcomes), len(table))
    for (function, data, expected), got in zip(table, outcomes):
        if expected[0] == "none":
            test.assertEqual(got, {"none": True}, (function, data))
        else:
            test.assertEqual(got, {"ok": expected[0] == "ok", "result": expected[1]}, (function, data))
