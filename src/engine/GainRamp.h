#pragma once

namespace tavlo {

// One gain that glides to each new target in a straight line over a fixed
// number of samples, so fader steps never click. Audio callback only.
class GainRamp {
public:
    explicit GainRamp(int rampSamples = 256) : m_rampSamples(rampSamples) {}

    void setRampSamples(int samples) { m_rampSamples = samples > 0 ? samples : 1; }
    // Jump without a glide: for a voice that is not sounding.
    void snap(float target)
    {
        m_current = m_target = target;
        m_remaining = 0;
    }
    void setTarget(float target)
    {
        if (target == m_target)
            return;
        m_target = target;
        m_remaining = m_rampSamples;
        m_step = (m_target - m_current) / static_cast<float>(m_rampSamples);
    }
    bool ramping() const { return m_remaining > 0; }
    // Samples until the target is reached.
    int remaining() const { return m_remaining; }
    float current() const { return m_current; }
    // Advances one sample and returns the gain for it.
    float next()
    {
        if (m_remaining > 0) {
            if (--m_remaining == 0)
                m_current = m_target;  // land exactly, so 0 dB is bit-exact again
            else
                m_current += m_step;
        }
        return m_current;
    }

private:
    float m_current = 1.0f;
    float m_target = 1.0f;
    float m_step = 0.0f;
    int m_remaining = 0;
    int m_rampSamples;
};

}  // namespace tavlo
