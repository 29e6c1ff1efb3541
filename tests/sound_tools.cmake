# The sound tests keep their hand-built WAVE files as seeds for the WAVE fuzz target, and the
# sound-inspect tool is run on files that sox writes.
if(TARGET test_sound)
  target_compile_definitions(test_sound PRIVATE
    VORN_WAVE_SEED_DIR="${CMAKE_BINARY_DIR}/fuzz-seeds/fuzz-wave")
endif()

if(TARGET sound-inspect)
  set(inspect_dir ${CMAKE_CURRENT_BINARY_DIR}/sound-inspect)
  file(MAKE_DIRECTORY ${inspect_dir})
  set(inspect $<TARGET_FILE:sound-inspect>)

  # An ordinary file: the fields, and sample bytes equal to what sox itself extracts.
  add_test(NAME SoundInspect.OrdinaryFile WORKING_DIRECTORY ${inspect_dir} COMMAND sh -c
    "sox -n -r 11025 -e signed-integer -b 16 -c 2 tone.wav synth 0.5 sine 300 && \
     sox tone.wav -t raw expected.raw && \
     ${inspect} --raw got.raw tone.wav && cmp expected.raw got.raw")
  set_tests_properties(SoundInspect.OrdinaryFile PROPERTIES PASS_REGULAR_EXPRESSION
    "^loaded=1 rate=11025 bits=16 channels=2 frames=5512 size=22048 length=0.499955 dirty=1\n$")

  # A missing file shows the not-found box and ends with status 255.
  add_test(NAME SoundInspect.MissingFile WORKING_DIRECTORY ${inspect_dir} COMMAND sh -c
    "${inspect} 'Sounds\\missing.wav' 2>&1; test $? -eq 255")
  set_tests_properties(SoundInspect.MissingFile PROPERTIES PASS_REGULAR_EXPRESSION
    "^Vorn Error: \\.WAV File Not Found: Sounds.missing\\.wav\n\nMake sure paths")

  # A file in a format other than PCM is refused quietly and leaves the clip empty: its raw
  # samples are an empty file.
  add_test(NAME SoundInspect.FloatFile WORKING_DIRECTORY ${inspect_dir} COMMAND sh -c
    "sox -n -r 8000 -e floating-point -b 32 -c 1 float.wav synth 0.1 sine 300 && \
     ${inspect} --raw float.raw float.wav && test -f float.raw && test ! -s float.raw")
  set_tests_properties(SoundInspect.FloatFile PROPERTIES PASS_REGULAR_EXPRESSION
    "^loaded=0 rate=0 bits=0 channels=0 frames=0 size=0 length=0 dirty=1\n$")
endif()
