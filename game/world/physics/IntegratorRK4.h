#pragma once
// Classic fourth-order Runge-Kutta along one axis, for objects with high-quality
// integration: their acceleration depends on their velocity through air resistance.

namespace zor {

class PhysicalObject;

class IntegratorRK4 {
public:
    // Along the axis.
    struct State {
        float position = 0.0f;
        float velocity = 0.0f;
    };

    virtual ~IntegratorRK4() = default;

    virtual float acceleration(const State& state) const = 0;
    // Advances the state by dt with four acceleration samples at dt / 2 spacing; the sums
    // are multiplied by one sixth rounded to a float, as the stored games expect.
    void step(State& state, float dt) const;
};

// Movement acceleration and gravity of the object along the axis, less its linear and
// quadratic air resistance: a + g + s x 0.5 x q x v^2 - 0.5 x l x v, with s = -1 while
// v > 0 and 1 otherwise. The position does not enter it.
class PhysicalObjectIntegrator : public IntegratorRK4 {
public:
    explicit PhysicalObjectIntegrator(const PhysicalObject& object) : m_object(object) {}

protected:
    // The object's air resistance applied to the axis' movement acceleration and gravity.
    float resisted(float acceleration, float gravity, float velocity) const;
    const PhysicalObject& object() const { return m_object; }

private:
    const PhysicalObject& m_object;
};

class PhysicalObjectIntegratorX final : public PhysicalObjectIntegrator {
public:
    using PhysicalObjectIntegrator::PhysicalObjectIntegrator;
    float acceleration(const State& state) const override;
};

class PhysicalObjectIntegratorY final : public PhysicalObjectIntegrator {
public:
    using PhysicalObjectIntegrator::PhysicalObjectIntegrator;
    float acceleration(const State& state) const override;
};

} // namespace zor
