# Landing files whole: single and multi-file outputs and their failures.
quarn_test_suite(quarn_io_tests io LIBS quarn_io)
