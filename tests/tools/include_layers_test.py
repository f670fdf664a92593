"""The include-layer check: which includes it refuses, on a table of paths,
and on a small tree with an engine header that includes a driver's."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import check_include_layers as layers  # noqa: E402


class UpwardIncludes(unittest.TestCase):
    def test_table(self):
        cases = [  # including file, included header, refused
            ('app/engine/translator_dlg.h', 'app/batch/list_run.h', True),
            ('app/engine/translator_dlg.h', 'app/pipeline/translation_result.h', True),
            ('app/server/page_server.h', 'app/cli/exit_codes.h', True),
            ('app/batch/developer_modes.h', 'app/cli/command_line.h', True),
            ('app/dialog/urdu_alphabet.cpp', 'app/display/fstructure_tree.h', True),  # same rank
            ('app/batch/benchmark.cpp', 'app/newfolder/x.h', True),  # a folder with no place
            ('app/cli/translator_cli.cpp', 'app/server/page_server.h', False),
            ('app/pipeline/translate_sentence.cpp', 'app/engine/translator_dlg.h', False),
            ('app/engine/engine_setup.cpp', 'app/loaders/data_manifest.h', False),
            ('app/engine/engine_setup.cpp', 'app/engine/setup_keys.h', False),
            ('core/fs_node.h', 'transfer/walk/mapper_engine.h', True),
            ('resources/lfg/lexicon.h', 'analysis/lfg/lfg_parser.h', True),
            ('transfer/walk/mapper_engine.h', 'core/condition_expression.h', False),
            ('app/engine/translator_dlg.h', 'transfer/walk/mapper_engine.h', False),
            ('core/fs_node.h', 'gtest/gtest.h', False),
        ]
        for including, included, refused in cases:
            with self.subTest(including=including, included=included):
                self.assertEqual(layers.upward_include(including, included) is not None, refused)

    def test_tree(self):
        with tempfile.TemporaryDirectory() as root:
            def write(path, text):
                os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
                with open(os.path.join(root, path), 'w', encoding='utf-8') as out:
                    out.write(text)
            write('app/engine/a.h', '#pragma once\n#include "app/engine/b.h"\n')
            write('app/cli/c.cpp', '#include "app/engine/a.h"\n')
            self.assertEqual(layers.check(root), [])
            write('app/engine/b.h', '#pragma once\n\n  #  include "app/cli/c.h"\n')
            self.assertEqual(layers.check(root),
                             ['app/engine/b.h:3: includes "app/cli/c.h": app/cli does not come before app/engine'])


if __name__ == '__main__':
    unittest.main()
