"""accessibility.py without a browser: Chromium's tree as CDP gives it, the
roles AT-SPI cannot name alone, the processes a browser's driver starts, and
the waiting for a tree.

Usage: /usr/bin/python3 -m unittest accessibility_test   (in tests/web)
"""
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

import accessibility as ax


def text(value):
    return {'type': 'computedString', 'value': value}


# As Chromium 14x answers, in its order (not the document's): an ignored
# wrapper, text nodes under a button, and the description beside the
# properties, or (in older versions) among them.
CDP_NODES = [
    {'nodeId': '228', 'parentId': '59', 'ignored': False, 'role': {'value': 'StaticText'}, 'name': text('SSS'),
     'childIds': ['-1000000007']},
    {'nodeId': '-1000000007', 'parentId': '228', 'ignored': False, 'role': {'value': 'InlineTextBox'},
     'name': text('SSS'), 'childIds': []},
    {'nodeId': '1', 'backendDOMNodeId': 1, 'ignored': False, 'role': {'value': 'RootWebArea'},
     'name': text('Brawlwise'), 'childIds': ['7']},
    {'nodeId': '7', 'parentId': '1', 'ignored': True, 'role': {'value': 'none'}, 'childIds': ['53', '59', '69']},
    {'nodeId': '59', 'parentId': '7', 'backendDOMNodeId': 59, 'ignored': False, 'role': {'value': 'button'},
     'name': text('SSS'), 'description': text('Player 1 Security Status:'), 'childIds': ['228']},
    {'nodeId': '69', 'parentId': '7', 'backendDOMNodeId': 69, 'ignored': False, 'role': {'value': 'button'},
     'name': text('SSS'), 'properties': [{'name': 'description', 'value': text('Player 2 Security Status:')},
                                          {'name': 'focusable', 'value': {'type': 'boolean', 'value': True}}]},
    {'nodeId': '53', 'parentId': '7', 'backendDOMNodeId': 53, 'ignored': False, 'role': {'value': 'textbox'},
     'name': text('Player 1 Name:'), 'childIds': []},
]
DOM = {'backendNodeId': 1, 'children': [
    {'backendNodeId': 266, 'nodeName': 'html'},
    {'backendNodeId': 2, 'attributes': ['lang', 'en-GB'], 'children': [
        {'backendNodeId': 50, 'attributes': ['class', 'field'], 'children': [
            {'backendNodeId': 53, 'attributes': ['type', 'text', 'id', 'c4001']},
            {'backendNodeId': 59, 'attributes': ['type', 'button', 'aria-describedby', 'l1015']}]}]}]}


class ChromiumTree(unittest.TestCase):
    def test_in_document_order_without_ignored_nodes_or_text_runs(self):
        tree = ax.from_chromium(CDP_NODES, DOM)
        self.assertEqual([(n['role'], n['name'], n['description'], n['id'], n['depth']) for n in tree], [
            ('document', 'Brawlwise', '', None, 0),
            ('textbox', 'Player 1 Name:', '', 'c4001', 1),
            ('button', 'SSS', 'Player 1 Security Status:', None, 1),
            ('button', 'SSS', 'Player 2 Security Status:', None, 1)])
        self.assertEqual(tree[3]['attributes'], {'focusable': True})


class Roles(unittest.TestCase):
    def test_the_role_a_page_gives_tells_what_at_spi_cannot(self):
        for role_name, attributes, role in [
                ('alert', {'xml-roles': 'alertdialog'}, 'alertdialog'),  # WebKit's Error box
                ('dialog', {'xml-roles': 'alertdialog'}, 'alertdialog'),  # Firefox's
                ('dialog', {}, 'dialog'),
                ('notification', {'xml-roles': 'alert'}, 'alert'),
                ('landmark', {'xml-roles': 'navigation', 'tag': 'nav'}, 'navigation'),
                ('menu item', {'tag': 'option'}, 'option'),
                ('entry', {'tag': 'input', 'id': 'c4001'}, 'textbox')]:
            with self.subTest(role=role_name, attributes=attributes):
                self.assertEqual(ax.atspi_role(role_name, attributes), role)


class Family(unittest.TestCase):
    def test_a_grandchild_whose_name_holds_parentheses_and_spaces(self):
        folder = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, folder)
        odd = folder / 'a) b ('  # as /proc/PID/stat writes it: "PID (a) b () S PPID ..."
        shutil.copyfile(shutil.which('sleep'), odd)
        odd.chmod(0o755)
        shell = subprocess.Popen(['sh', '-c', f'"{odd}" 30 & echo $!; wait'], stdout=subprocess.PIPE, text=True)
        self.addCleanup(shell.wait)
        grandchild = int(shell.stdout.readline())
        self.addCleanup(subprocess.run, ['kill', str(grandchild)])
        self.assertIn(grandchild, ax.family(shell.pid))
        self.assertNotIn(shell.pid, ax.family(grandchild))


class Waiting(unittest.TestCase):
    def test_reads_until_the_tree_holds_or_says_what_it_last_saw(self):
        trees = iter([[], [{'role': 'dialog', 'name': ''}], [{'role': 'dialog', 'name': 'Results'}]])
        node, tree = ax.wait_for(lambda: next(trees), lambda n: n['name'] == 'Results', 2)
        self.assertEqual(tree, [node])
        start = time.monotonic()
        with self.assertRaisesRegex(AssertionError, r"the Results window not within 0\.3 s; .*dialog 'Other'"):
            ax.wait_for(lambda: [{'role': 'dialog', 'name': 'Other'}], lambda n: n['name'] == 'Results', 0.3,
                        'the Results window')
        self.assertLess(time.monotonic() - start, 1)


if __name__ == '__main__':
    unittest.main()
