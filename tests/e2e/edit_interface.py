"""The designer's edit interface as a script drives it: an edit posted with the token on the
version that GET /model gives, and the lines of a file that an edit changed."""
import json
import urllib.error
import urllib.request

# Straight to the tool: no proxy that the environment names.
_OPENER = urllib.request.build_opener(urllib.request.ProxyHandler({}))


def request(url, data=None, headers=None):
    """The status and body of a request to the tool."""
    try:
        with _OPENER.open(urllib.request.Request(url, data, headers or {}), timeout=10) as reply:
            return reply.status, reply.read()
    except urllib.error.HTTPError as error:
        return error.code, error.read()


def post_edit(base, token, file, edit):
    """The status and body of `edit` made on `file` (base: the page's address, ending in /)."""
    status, body = request(base + "model", headers={"X-Ambrevo-Token": token})
    if status != 200:
        return status, body
    version = next(f["version"] for f in json.loads(body)["files"] if f["name"] == file)
    return request(base + "edit", json.dumps(dict(edit, file=file, version=version)).encode(),
                   {"X-Ambrevo-Token": token, "Content-Type": "application/json"})


def changed_lines(before, after):
    """The (old, new) pairs of lines that differ, or None when lines came or went."""
    old, new = before.splitlines(), after.splitlines()
    if len(old) != len(new):
        return None
    return [(a, b) for a, b in zip(old, new) if a != b]
