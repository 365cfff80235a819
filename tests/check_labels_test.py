#!/usr/bin/env python3
"""The faults tests/check_labels.py must find, on listings made up as ctest would give them."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_labels import check  # noqa: E402


def case(name, labels, serial=None):
    properties = [{"name": "LABELS", "value": labels}] if labels is not None else []
    if serial is not None:
        properties.append({"name": "RUN_SERIAL", "value": serial})
    return {"name": name, "properties": properties}


DECLARED = {"sound_real_tests": {"realsound"}, "video_realsound_tests": {"video", "realsound"},
            "video_tests": {"video"}}


class CheckLabels(unittest.TestCase):
    def test_sound_cases_with_all_their_labels_pass(self):
        tests = [case("sound_real_tests.A.B", ["realsound"], True),
                 case("video_realsound_tests.C.D", ["realsound", "video"], True),
                 case("video_tests.E.F", ["video"]),
                 case("e2e_learner", ["e2e"])]
        listed = {"realsound": {"sound_real_tests.A.B", "video_realsound_tests.C.D"},
                  "video": {"video_realsound_tests.C.D", "video_tests.E.F"}}
        self.assertEqual(check(DECLARED, tests, listed), [])

    def test_a_lost_second_label_is_found_in_the_properties_and_in_the_listing(self):
        tests = [case("sound_real_tests.A.B", ["realsound"], True),
                 case("video_realsound_tests.C.D", ["video"]),
                 case("video_tests.E.F", ["video"])]
        listed = {"realsound": {"sound_real_tests.A.B"},
                  "video": {"video_realsound_tests.C.D", "video_tests.E.F"}}
        faults = check(DECLARED, tests, listed)
        self.assertIn("video_realsound_tests.C.D: labels ['video'], its program declares "
                      "['realsound', 'video']", faults)
        self.assertIn("video_realsound_tests.C.D: real sound that does not run alone", faults)
        self.assertIn("ctest -L realsound misses video_realsound_tests.C.D", faults)
        self.assertEqual(len(faults), 3)

    def test_a_label_a_program_does_not_declare_is_a_fault(self):
        tests = [case("sound_real_tests.A.B", ["realsound"], True),
                 case("video_realsound_tests.C.D", ["realsound", "video"], True),
                 case("video_tests.E.F", ["video", "realsound"])]
        listed = {"realsound": {"sound_real_tests.A.B", "video_realsound_tests.C.D",
                                "video_tests.E.F"},
                  "video": {"video_realsound_tests.C.D", "video_tests.E.F"}}
        faults = check(DECLARED, tests, listed)
        self.assertIn("ctest -L realsound lists video_tests.E.F, whose program does not declare it",
                      faults)
        self.assertEqual(len(faults), 2)  # and its own labels differ from the declared ones

    def test_a_program_without_cases_is_reported_once(self):
        tests = [case("sound_real_tests.A.B", ["realsound"], True),
                 case("video_realsound_tests_NOT_BUILT", None),
                 case("video_tests.E.F", ["video"])]
        listed = {"realsound": {"sound_real_tests.A.B"}, "video": {"video_tests.E.F"}}
        self.assertEqual(check(DECLARED, tests, listed),
                         ["video_realsound_tests: not built, its cases are unknown"])
        del tests[1]
        self.assertEqual(check(DECLARED, tests, listed),
                         ["video_realsound_tests: no case discovered"])


if __name__ == "__main__":
    unittest.main()
