"""The page's accessibility tree in one plain form for every engine, so that one
row of a check runs in Chromium, WebKit and Firefox alike.

Chromium's tree comes from its driver (CDP's Accessibility.getFullAXTree);
WebKit's and Firefox's from AT-SPI, as a screen reader on Linux reads them,
since their drivers give none. A tree is a list of nodes in document order,
each a dict:

    role         one vocabulary for all engines (ROLES below), else the engine's own
    name         the accessible name ('' when none)
    description  the accessible description ('' when none)
    id           the element's id attribute, or None
    depth        0 for the document, 1 for its children, ...
    engine_role  the engine's own role, for messages
    attributes   the engine's own extras: AT-SPI's object attributes, or the
                 properties of Chromium's node by name; no row should need them

AT-SPI needs a session bus (`dbus-run-session -- xvfb-run -a ...`): the
browser's first accessibility call starts the AT-SPI bus and its registry on
it. WebKitGTK's MiniBrowser registers with no setting (as "MiniBrowser", a
child of WebKitWebDriver's process); Firefox only with a window (not
headless) and with accessibility.force_disabled = -1 in its profile or
GNOME_ACCESSIBILITY=1 in its environment. An application is chosen by the
process id of the browser or of its driver, never by its name alone: another
browser on the same bus would have the same name.

What a tree cannot give here: Chromium's nodes and AT-SPI's objects know no
data-* attributes, so a control without an id is found by its role and name.
"""
import os
import time
from pathlib import Path

# The one vocabulary: the roles of ARIA where there is one. AT-SPI's role
# names first (both engines' differences beside them), then Chromium's.
ATSPI_ROLES = {
    'push button': 'button', 'toggle button': 'button',
    'entry': 'textbox', 'password text': 'textbox',
    'combo box': 'combobox',  # a <select>: WebKit's computed-role says button, its AT-SPI role combo box
    'check box': 'checkbox', 'radio button': 'radio',
    'dialog': 'dialog',
    # role=alert: AT-SPI's notification in both; WebKit also gives alertdialog
    # as alert, which the author's role below tells apart.
    'notification': 'alert', 'alert': 'alert',
    'document web': 'document', 'heading': 'heading', 'link': 'link', 'image': 'image',
    'paragraph': 'paragraph', 'label': 'label', 'status bar': 'status',
    'list': 'list', 'list item': 'listitem',
    'panel': 'group',  # a fieldset
    'section': 'generic', 'filler': 'generic',
    'menu': 'menu', 'menu item': 'menuitem',  # a <select>'s popup and options in both; see below
}
CHROMIUM_ROLES = {
    'RootWebArea': 'document', 'LabelText': 'label', 'MenuListPopup': 'menu', 'MenuListOption': 'option',
    'none': 'generic', 'img': 'image',
}
# Chromium's nodes for runs of text, which AT-SPI keeps inside their element's text.
CHROMIUM_TEXT = {'StaticText', 'InlineTextBox'}


def atspi_role(role_name, attributes):
    """One vocabulary's role for an AT-SPI object of this role with these object attributes."""
    # xml-roles is the role the page gave (role="..."), or a landmark's
    # implicit one. AT-SPI has fewer roles than ARIA: an alertdialog is
    # 'alert' in WebKit and 'dialog' in Firefox, a landmark is 'landmark' in both.
    given = (attributes.get('xml-roles') or '').split()
    if given:
        return given[0]
    if role_name == 'menu item' and attributes.get('tag') == 'option':
        return 'option'
    return ATSPI_ROLES.get(role_name, role_name)


# ---- Chromium, from CDP

def _value(field):
    return (field or {}).get('value') or ''


def from_chromium(ax_nodes, dom_root=None):
    """The plain nodes of CDP's Accessibility.getFullAXTree answer ('nodes').

    Ignored nodes are left out and their children take their place; nodes for
    runs of text are left out (AT-SPI has none). dom_root, the root of
    DOM.getDocument with depth -1, gives the elements' ids; without it every
    id is None."""
    ids = {}
    stack = [dom_root] if dom_root else []
    while stack:
        element = stack.pop()
        attributes = element.get('attributes', [])
        named = dict(zip(attributes[::2], attributes[1::2]))
        if 'id' in named:
            ids[element['backendNodeId']] = named['id']
        stack += element.get('children', [])
    by_id = {node['nodeId']: node for node in ax_nodes}
    roots = [node for node in ax_nodes if node.get('parentId') not in by_id]
    out = []

    def visit(node, depth):
        role = _value(node.get('role'))
        if node.get('ignored') or role in CHROMIUM_TEXT:
            shown = False
        else:
            shown = True
            properties = {p['name']: p.get('value', {}).get('value') for p in node.get('properties', [])}
            # The description is a property in some versions, beside the properties in others.
            description = properties.pop('description', None) or _value(node.get('description'))
            out.append({'role': CHROMIUM_ROLES.get(role, role), 'name': _value(node.get('name')),
                        'description': description or '', 'id': ids.get(node.get('backendDOMNodeId')),
                        'depth': depth, 'engine_role': role, 'attributes': properties})
        for child in node.get('childIds', []):
            if child in by_id:
                visit(by_id[child], depth + shown)

    for root in roots:
        visit(root, 0)
    return out


def read_chromium(driver):
    """The page's tree in Chromium driven by Selenium, with the elements' ids."""
    dom = driver.execute_cdp_cmd('DOM.getDocument', {'depth': -1})['root']
    return from_chromium(driver.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes'], dom)


# ---- WebKit and Firefox, from AT-SPI

def _atspi():
    import gi
    gi.require_version('Atspi', '2.0')
    from gi.repository import Atspi, GLib
    _atspi.Error = GLib.Error
    if not getattr(_atspi, 'ready', False):
        Atspi.init()
        _atspi.ready = True
    return Atspi


def family(pid):
    """pid and every process descended from it."""
    parents = {}
    for stat in Path('/proc').glob('[0-9]*/stat'):
        try:
            text = stat.read_text()
        except OSError:
            continue  # gone meanwhile
        # pid (comm) state ppid ...: comm may hold spaces and parentheses.
        parents[int(stat.parent.name)] = int(text[text.rindex(')') + 2:].split()[1])
    found, grown = {pid}, True
    while grown:
        more = {child for child, parent in parents.items() if parent in found} - found
        found |= more
        grown = bool(more)
    return found


def until(read, seconds, what, describe=repr):
    """read()'s first true value within `seconds`; else AssertionError naming
    what was awaited and what was last read."""
    deadline = time.monotonic() + seconds
    while True:
        last = read()
        if last:
            return last
        if time.monotonic() > deadline:
            raise AssertionError(f'{what} not within {seconds:.1f} s; last saw {describe(last)}')
        time.sleep(0.05)


def application(pid, seconds=10):
    """The AT-SPI application of process pid or of a process descended from
    it (MiniBrowser is a child of WebKitWebDriver). An application registers
    on its first accessibility call, so this waits for it."""
    Atspi = _atspi()
    seen = []

    def find():
        desktop = Atspi.get_desktop(0)
        processes = family(pid)
        seen[:] = []
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is None:
                continue  # one that has just gone
            try:
                app_pid = app.get_process_id()
            except _atspi.Error:  # an application that has just gone
                continue
            seen.append(f'{app.get_name()} ({app_pid})')
            if app_pid in processes:
                return app
        return None

    return until(find, seconds, f'an AT-SPI application of process {pid} or its children',
                  lambda _: f"applications {seen or 'none'}")


def _documents(accessible, Atspi, out):
    """Every document web under accessible, not looking inside documents (their
    frames' documents are the page's own)."""
    for i in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(i)
        if child is None:
            continue
        if child.get_role() == Atspi.Role.DOCUMENT_WEB:
            out.append(child)
        elif child.get_role() not in (Atspi.Role.MENU, Atspi.Role.MENU_BAR):  # Firefox's own menus: many, never a page
            _documents(child, Atspi, out)
    return out


def document(pid, title=None, seconds=5):
    """The showing page document of the browser of process pid (or of its
    descendants), named `title` if given. Firefox keeps a hidden document
    besides (its preloaded new tab), which is never showing."""
    Atspi = _atspi()
    app = application(pid, seconds)
    seen = []

    def find():
        app.clear_cache()
        seen[:] = _documents(app, Atspi, [])
        for doc in seen:
            if doc.get_state_set().contains(Atspi.StateType.SHOWING) and title in (None, doc.get_name()):
                return doc
        return None

    return until(find, seconds, 'a showing document' + (f' named {title!r}' if title else ''),
                  lambda _: 'documents ' + repr([d.get_name() for d in seen]))


def from_atspi(doc):
    """The plain nodes of an AT-SPI document and its descendants, read afresh."""
    doc.clear_cache()  # AT-SPI's cache is kept by events, which nothing here listens to
    out = []

    def visit(accessible, depth):
        attributes = dict(accessible.get_attributes() or {})
        role_name = accessible.get_role_name()
        out.append({'role': atspi_role(role_name, attributes), 'name': accessible.get_name() or '',
                    'description': accessible.get_description() or '', 'id': attributes.get('id'),
                    'depth': depth, 'engine_role': role_name, 'attributes': attributes})
        for i in range(accessible.get_child_count()):
            child = accessible.get_child_at_index(i)
            if child is not None:
                visit(child, depth + 1)

    try:
        visit(doc, 0)
    except _atspi.Error as error:  # a node gone while read, as the page changed
        raise Gone(str(error)) from error
    return out


class Gone(Exception):
    """A node went away while the tree was read: read it again."""


def read_atspi(pid, title=None, seconds=5):
    """The page's tree in the browser of process pid (or of its descendants):
    the showing document named `title` if given."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            return from_atspi(document(pid, title, max(0.1, deadline - time.monotonic())))
        except Gone:
            if time.monotonic() > deadline:
                raise


# ---- looking in a tree

def by_id(nodes, element_id):
    """The first node of the element with this id, or None. (Firefox gives a
    <select>'s popup its select's id too: the select comes first.)"""
    return next((n for n in nodes if n['id'] == element_id), None)


def find(nodes, role=None, name=None):
    """The nodes of this role and name, either left out to match any, in document order."""
    return [n for n in nodes if role in (None, n['role']) and name in (None, n['name'])]


def within(nodes, node):
    """The descendants of node, a member of nodes."""
    at = next(i for i, n in enumerate(nodes) if n is node)
    out = []
    for n in nodes[at + 1:]:
        if n['depth'] <= node['depth']:
            break
        out.append(n)
    return out


def summary(nodes, limit=40):
    """The named nodes' roles and names, for a message."""
    named = [f"{n['role']} {n['name']!r}" for n in nodes if n['name']]
    return ', '.join(named[:limit]) + (f', ... ({len(named) - limit} more)' if len(named) > limit else '')


def wait_for_tree(read, problems, seconds=5, what='the tree as expected'):
    """Reads the tree (read() gives the plain nodes) until problems(tree), a
    list of what is wrong with it, is empty; returns that tree. Firefox
    fills a page's tree in pieces after its first accessibility call: a first
    read may lack some nodes' names and ids, or a list's options."""
    last = []

    def look():
        tree = read()
        last[:] = problems(tree)
        return None if last else tree

    return until(look, seconds, what, lambda _: '; '.join(map(str, last)))


def wait_for(read, match, seconds=5, what='a node'):
    """The first node that matches, once the tree has one, and that tree. A
    new window shows in AT-SPI a moment after the click that opens it (0.03
    to 0.3 s here)."""
    tree = wait_for_tree(read, lambda t: [] if any(map(match, t)) else [summary(t)], seconds, what)
    return next(n for n in tree if match(n)), tree
